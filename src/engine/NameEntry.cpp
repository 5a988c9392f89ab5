#include "engine/NameEntry.h"

#include "scores/TypeableName.h"

namespace {
constexpr const char* kConfirmPrompt = "Push Enter to confirm name";
constexpr const char* kAddScorePrompt = "Push Enter to add your score";
constexpr int kNameTextX = 100;
constexpr int kPromptTextX = 300;
constexpr int kNameRowY = 350;
}  // namespace

NameEntry::NameEntry(Assets& assets)
    : nameText(std::make_unique<Text>(assets)), promptText(std::make_unique<Text>(assets)) {
    nameText->SetPos(kNameTextX, kNameRowY);
    promptText->SetPos(kPromptTextX, kNameRowY);
}

void NameEntry::ToggleOn() {
    on = !on;
    PlacePrompt();
}

void NameEntry::ToggleConfirmed() {
    confirmed = !confirmed;
    PlacePrompt();
}

void NameEntry::PlacePrompt() {
    // A long name of wide letters reaches the prompt beside it: then the prompt goes a row down,
    // where both stay readable. Once the name is confirmed only the prompt is drawn, in its row.
    const SDL_Surface* drawnName = nameText->GetSurface();
    const bool reachesPrompt =
        !confirmed && drawnName != nullptr && kNameTextX + drawnName->w >= kPromptTextX;
    promptText->SetPos(kPromptTextX, reachesPrompt ? kNameRowY + drawnName->h : kNameRowY);
}

bool NameEntry::TypeKey(const SDL_keysym& key) {
    const std::string before = name;
    if (TypingAdds(name, key.unicode)) {
        name += static_cast<char>(key.unicode);
    }
    const bool confirming = key.sym == SDLK_RETURN;
    if (confirming) {
        confirmed = true;
        name = WithoutTrailingSpaces(name);
    }
    if (key.sym == SDLK_BACKSPACE && !name.empty()) {
        name.pop_back();
    }
    if (name != before) {
        nameText->Render(name.c_str());
        if (!confirmed) {
            promptText->Render(kConfirmPrompt);
        }
    }
    PlacePrompt();
    return confirming;
}

void NameEntry::Resume(const std::string& typed, bool afterAnotherGame) {
    name = typed;
    nameText->Render(name.c_str());
    if (afterAnotherGame) {
        promptText->Render(kAddScorePrompt);
    }
}

void NameEntry::Draw(SDL_Surface* screen) {
    if (!on) {
        return;
    }
    if (!confirmed) {
        nameText->Draw(screen);
        promptText->Draw(screen);
        return;
    }
    promptText->Render(kAddScorePrompt);
    promptText->Draw(screen);
}
