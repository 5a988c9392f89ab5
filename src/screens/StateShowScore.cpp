#include "screens/StateShowScore.h"

#include "engine/DisplayRules.h"
#include "engine/GameKey.h"
#include "engine/ScreenEngine.h"
#include "gfx/Assets.h"
#include "gfx/Blit.h"
#include "report/Counted.h"
#include "scores/HighScoreFile.h"
#include "screens/ScoreListLayout.h"
#include "screens/ShortenToFit.h"
#include "screens/StateMenu.h"

namespace {
using score_list::ColumnRight;
using score_list::kColumns;
using score_list::kColumnX;
using score_list::kFirstRowY;
using score_list::kRowSpacing;
using score_list::kRowsPerColumn;

constexpr const char* kBackgroundImage = "showscorebg.png";
constexpr std::size_t kShownLines = kRowsPerColumn * kColumns;
// Far wider than a column already. A file that is not the game's own may hold lines of any
// length, and the font library cannot make a picture of just any width.
constexpr std::size_t kLongestShownLine = 128;
constexpr const char* kNothingKept = "No game kept yet";
constexpr int kNothingKeptFrames = 100;  // two seconds
constexpr int kNothingKeptY = 225;       // across the middle of the list
constexpr int kNothingKeptMargin = 6;  // of the dark box it stands on, so that it reads over lines
// The line of the game just played: gold, apart from the magenta of the others.
constexpr SDL_Color kJustStoredColour = {255, 215, 64, 0};

std::string PlaceLine(const StoredPlace& stored) {
    return "Your " + Counted(static_cast<std::uint64_t>(stored.points), "point is", "points are") +
           " " + Ordinal(stored.place) + " of " + std::to_string(stored.of) + ", below this list";
}

// A line as wide as both columns, in the given row; in the text's own colour without one.
std::unique_ptr<Text> WideLine(Assets& assets, const std::string& line, std::size_t row,
                               const SDL_Color* colour = nullptr) {
    auto text = std::make_unique<Text>(assets);
    if (colour != nullptr) {
        text->SetColour(*colour);
    }
    text->SetPos(kColumnX[0], kFirstRowY + kRowSpacing * static_cast<int>(row));
    const int width = ColumnRight(kColumns - 1) - kColumnX[0];
    text->Render(ShortenToFit(*text, line, width).c_str());
    text->CloseFont();
    return text;
}

// Whether a blit onto either surface gives the same pixels: the same true-colour layout.
bool SamePixelLayout(const SDL_PixelFormat& a, const SDL_PixelFormat& b) {
    return a.palette == nullptr && b.palette == nullptr && a.BitsPerPixel == b.BitsPerPixel &&
           a.Rmask == b.Rmask && a.Gmask == b.Gmask && a.Bmask == b.Bmask && a.Amask == b.Amask;
}
}  // namespace

StateShowScore::StateShowScore(Assets& assets) : StateShowScore(assets, std::string()) {}

StateShowScore::StateShowScore(Assets& assets, const std::string& notice,
                               const std::string& justStored, StoredPlace stored,
                               net::SharedTable* table)
    : assets(assets), background(std::make_unique<Sprite>()), notice(notice) {
    ReadFile();
    background->SetPos(0, 0);
    background->SetImage(assets.Picture(kBackgroundImage));
    // The notice is wider than a column: it takes the first row of both.
    const std::size_t firstRow = notice.empty() ? 0 : 1;
    if (!notice.empty()) {
        noticeText = WideLine(assets, notice, 0);
    }
    // Where a shared table is named, its label (and after a store, how the game fares there)
    // takes the last rows of both columns.
    const bool afterStore = !justStored.empty();
    const std::size_t rowsBelow = table != nullptr ? SharedListView::RowsBelowLocal(afterStore) : 0;
    // A score stored below the list would otherwise go without a word: where it went takes the
    // last row of both columns left.
    const bool placeTold = notice.empty() && afterStore && stored.place > kShownLines;
    if (placeTold) {
        placeText =
            WideLine(assets, PlaceLine(stored), kRowsPerColumn - 1 - rowsBelow, &kJustStoredColour);
    }
    const std::size_t rowsShown = kRowsPerColumn - firstRow - (placeTold ? 1 : 0) - rowsBelow;
    bool marked = justStored.empty();
    for (std::size_t i = 0; i < entries.size() && i < kColumns * rowsShown; ++i) {
        auto text = std::make_unique<Text>(assets);
        if (!marked && entries[i] == justStored) {
            text->SetColour(kJustStoredColour);
            marked = true;
        }
        const std::size_t column = i / rowsShown;
        const int row = static_cast<int>(firstRow + i % rowsShown);
        text->SetPos(kColumnX[column], kFirstRowY + kRowSpacing * row);
        // A line too long for its column would run into the next one or off the panel.
        const int width = ColumnRight(column) - kColumnX[column];
        text->Render(ShortenToFit(*text, entries[i], width).c_str());
        text->CloseFont();  // the list never changes while it is shown
        entryTexts.push_back(std::move(text));
    }
    if (table != nullptr) {
        shared = std::make_unique<SharedListView>(assets, *table, afterStore);
    }
}

StateShowScore::~StateShowScore() = default;

void StateShowScore::MoveSprites() {
    if (nothingKeptFrames > 0) {
        --nothingKeptFrames;
    }
    if (shared == nullptr) {
        return;
    }
    shared->Update();
    // The table's best game, fetched: proven here, then watched as the best kept one is.
    if (const auto game = shared->TakeBestGame()) {
        std::string why;
        if (!GetEngine()->WatchGame(*game, why)) {
            shared->CannotWatch(why);
        }
    }
}

void StateShowScore::Draw(SDL_Surface* screen) {
    // The frame it is drawn on decides, so its first one does.
    if (!pictureChecked) {
        pictureChecked = true;
        DrawLinesIntoPicture(*screen);
    }
    if (shared != nullptr && shared->SharedShown()) {
        shared->DrawShared(screen, *background);
    } else {
        background->Draw(screen);
        if (!linesInPicture) {
            for (const auto& text : entryTexts) {
                text->Draw(screen);
            }
            if (noticeText != nullptr) {
                noticeText->Draw(screen);
            }
            if (placeText != nullptr) {
                placeText->Draw(screen);
            }
        }
    }
    if (shared != nullptr) {
        shared->DrawBelow(screen);
    }
    DrawNothingKept(screen);
}

void StateShowScore::DrawNothingKept(SDL_Surface* screen) {
    if (nothingKeptFrames == 0 || nothingKept == nullptr) {
        return;
    }
    const SDL_Surface* note = nothingKept->GetSurface();
    if (note != nullptr) {
        SDL_Rect box{static_cast<Sint16>(nothingKept->GetPosX() - kNothingKeptMargin),
                     static_cast<Sint16>(nothingKept->GetPosY() - kNothingKeptMargin),
                     static_cast<Uint16>(note->w + 2 * kNothingKeptMargin),
                     static_cast<Uint16>(note->h + 2 * kNothingKeptMargin)};
        SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 0));
    }
    nothingKept->Draw(screen);
}

// The list never changes while it is shown, and blending some thirty lines of text anew costs
// more than the rest of a frame. So when the picture alone covers the whole frame, the lines are
// blended into the picture once, and every frame is a single copy. Blending a line into the
// picture gives the very pixels that blending it over the copied picture on the window gives.
// Without such a picture the lines go on being drawn over whatever the window last showed.
void StateShowScore::DrawLinesIntoPicture(const SDL_Surface& frame) {
    SDL_Surface* picture = background->GetImage();
    if (picture == nullptr || background->GetPosX() != 0 || background->GetPosY() != 0 ||
        picture->w < display::kFrameWidth || picture->h < display::kFrameHeight ||
        !SamePixelLayout(*picture->format, *frame.format) || !CoversWhatItIsDrawnOver(picture)) {
        return;
    }
    if (shared != nullptr) {
        shared->KeepPlainPicture(*picture);
    }
    for (const auto& text : entryTexts) {
        text->Draw(picture);
    }
    if (noticeText != nullptr) {
        noticeText->Draw(picture);
    }
    if (placeText != nullptr) {
        placeText->Draw(picture);
    }
    linesInPicture = true;
}

void StateShowScore::KeyPressed(int key) {
    if (key == KeyEnter) {
        PlaySound(Effect::Select);
        GetEngine()->SetState(new StateMenu(assets));
    } else if (key == KeyTable && shared != nullptr) {
        PlaySound(Effect::Select);
        shared->Flip();
    } else if (key == KeyWatch && shared != nullptr && shared->SharedShown()) {
        shared->FetchBestGame();
    } else if (key == KeyWatch) {
        // The engine sets this list aside while the game is watched, and shows it again after.
        if (GetEngine()->WatchBestGame()) {
            return;
        }
        if (nothingKept == nullptr) {
            nothingKept = std::make_unique<Text>(assets);
            nothingKept->Render(kNothingKept);
            nothingKept->CloseFont();
            const SDL_Surface* note = nothingKept->GetSurface();
            const int width = note != nullptr ? note->w : 0;
            nothingKept->SetPos((display::kFrameWidth - width) / 2, kNothingKeptY);
        }
        nothingKeptFrames = kNothingKeptFrames;
    }
}

void StateShowScore::ReadFile() {
    fileName = HighScoreFile::kFileName;
    // Only the lines on show are read, so a file of any size opens the list at once.
    HighScoreFile::ReadFirstLines(fileName, kShownLines, kLongestShownLine, entries);
}
