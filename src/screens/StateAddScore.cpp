#include "screens/StateAddScore.h"

#include <algorithm>
#include <cstdio>

#include "engine/GameKey.h"
#include "engine/ScreenEngine.h"
#include "gfx/Assets.h"
#include "scores/Ranking.h"
#include "scores/ScoreLine.h"
#include "screens/StateShowScore.h"

namespace {
constexpr const char* kBackgroundImage = "addscorebg.png";
// Below the trophy, above the words that ask for Enter.
constexpr int kPointsY = 168;
}  // namespace

StateAddScore::StateAddScore(Assets& assets)
    : assets(assets),
      background(std::make_unique<Sprite>()),
      file(std::make_unique<HighScoreFile>()),
      points(kPointsY, assets) {
    background->SetPos(0, 0);
    background->SetImage(assets.Picture(kBackgroundImage));
}

StateAddScore::~StateAddScore() = default;

void StateAddScore::Draw(SDL_Surface* screen) {
    background->Draw(screen);
    points.Draw(screen, GetEngine(), score);
}

void StateAddScore::KeyPressed(int key) {
    if (key != KeyEnter) {
        return;
    }
    PlaySound(Effect::Select);
    ReadFile();
    AddScore();
    SortScore();
    WriteFile();
    GetEngine()->ScoreStored(score);
    // The player's own game marks its line on the list; the game started bare marks none.
    net::SharedTable* shared = GetEngine()->SharedScores();
    const std::string stored = GetEngine()->PlayersSettingsInUse() || shared != nullptr
                                   ? ScoreLine(score, GetName())
                                   : std::string();
    // The file holds the entries last first: the first equal line in the file is the last here.
    StoredPlace place;
    const auto at = std::find(entries.rbegin(), entries.rend(), stored);
    if (!stored.empty() && !file->Failure().Failed() && at != entries.rend()) {
        place = {score, static_cast<std::size_t>(at - entries.rbegin()) + 1, entries.size()};
    }
    // The list is built before the switch; SetState then destroys this screen.
    GetEngine()->SetState(
        new StateShowScore(assets, file->Failure().Notice(), stored, place, shared));
}

void StateAddScore::ReadFile() {
    GetEngine()->SetName();
    fileName = HighScoreFile::kFileName;
    file->ReadForUpdate(fileName, entries);
}

void StateAddScore::AddScore() {
    entries.push_back(ScoreLine(score, GetName()));
}

void StateAddScore::SortScore() {
    std::sort(entries.begin(), entries.end(), RanksBelow);
}

void StateAddScore::WriteFile() {
    if (!file->ReplaceLastFirst(fileName, entries)) {
        // Said here once; the list then tells the player in their own words.
        std::fprintf(stderr, "%s\n", file->Failure().LogLine().c_str());
    }
}

std::string StateAddScore::itos(int value) {
    return std::to_string(value);
}

void StateAddScore::SetFileIo(std::unique_ptr<HighScoreIo> io) {
    file = std::make_unique<HighScoreFile>(std::move(io));
}
