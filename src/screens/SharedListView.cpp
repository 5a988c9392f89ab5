#include "screens/SharedListView.h"

#include <algorithm>
#include <utility>

#include "gfx/Blit.h"
#include "gfx/Sprite.h"
#include "scores/ScoreLine.h"
#include "screens/ScoreListLayout.h"
#include "screens/SharedTableWords.h"
#include "screens/ShortenToFit.h"

namespace {
using score_list::ColumnRight;
using score_list::kColumns;
using score_list::kColumnX;
using score_list::kFirstRowY;
using score_list::kRowSpacing;
using score_list::kRowsPerColumn;

// The label in the last row, the line about the table in the row above it.
constexpr std::size_t kLabelRow = kRowsPerColumn - 1;
constexpr std::size_t kStatusRow = kRowsPerColumn - 2;
constexpr std::size_t kSharedRowsPerColumn = kRowsPerColumn - 2;
// The label in the colour of the keys' names on the list's picture; the line stored, marked as
// this computer's side marks it.
constexpr SDL_Color kLabelColour = {170, 190, 230, 0};
constexpr SDL_Color kOwnLineColour = {255, 215, 64, 0};

bool SameRows(const std::vector<net::TableRow>& one, const std::vector<net::TableRow>& other) {
    return std::equal(one.begin(), one.end(), other.begin(), other.end(),
                      [](const net::TableRow& a, const net::TableRow& b) {
                          return a.id == b.id && a.points == b.points && a.name == b.name;
                      });
}

int RowY(std::size_t row) {
    return kFirstRowY + kRowSpacing * static_cast<int>(row);
}

// Both columns: the label and the line run across the whole panel.
int WholeWidth() {
    return ColumnRight(kColumns - 1) - kColumnX[0];
}

void Show(Assets& assets, std::unique_ptr<Text>& text, std::string& shown,
          const std::string& wanted, std::size_t row, SDL_Color colour, bool coloured) {
    if (wanted == shown && text != nullptr) {
        return;
    }
    if (text == nullptr) {
        text = std::make_unique<Text>(assets);
        if (coloured) {
            text->SetColour(colour);
        }
        text->SetPos(kColumnX[0], RowY(row));
    }
    shown = wanted;
    text->Render(ShortenToFit(*text, wanted, WholeWidth()).c_str());
}
}  // namespace

std::size_t SharedListView::RowsBelowLocal(bool afterStore) {
    return afterStore ? 2 : 1;
}

SharedListView::SharedListView(Assets& assets, net::SharedTable& table, bool afterStore)
    : assets(assets), table(table), afterStore(afterStore), seen(table.Changes() - 1) {
    // Asked for as the list opens, so that Tab finds them there already.
    table.AskForRows();
    Update();
}

SharedListView::~SharedListView() = default;

void SharedListView::Flip() {
    sharedShown = !sharedShown;
    // A game asked for with R and not yet come is no longer wanted on the other side.
    watched = net::TableRow();
    watchLine.clear();
    if (sharedShown && everShown) {
        table.AskForRows();
    }
    everShown = everShown || sharedShown;
    MakeBelow();
}

void SharedListView::Update() {
    const unsigned now = table.Changes();
    if (now == seen) {
        return;
    }
    seen = now;
    net::PostReport lastPost = table.LastPost();
    net::TableReport fetched = table.Rows();
    const bool linesChange = !SameRows(fetched.rows, rows.rows) || lastPost.state != post.state ||
                             lastPost.line != post.line;
    post = std::move(lastPost);
    rows = std::move(fetched);
    if (linesChange) {
        MakeLines();
    }
    TakeReplayReport();
    MakeBelow();
}

void SharedListView::FetchBestGame() {
    if (rows.rows.empty()) {
        watchLine = "No game on the shared table to watch yet";
    } else {
        watched = rows.rows.front();
        const std::string line = ScoreLine(watched.points, watched.name);
        watchLine = "Fetching " + line + " from " + table.Host() + "...";
        table.AskForReplay(watched.id);
    }
    MakeBelow();
}

void SharedListView::TakeReplayReport() {
    if (watched.id == 0) {
        return;
    }
    net::ReplayReport fetched = table.Replay();
    if (fetched.id != watched.id) {
        return;
    }
    const std::string line = ScoreLine(watched.points, watched.name);
    if (fetched.state == net::ReplayReport::State::Fetched) {
        fetchedGame = std::move(fetched.bytes);
        fetchedLine = line;
        watched = net::TableRow();
        watchLine.clear();
    } else if (fetched.state == net::ReplayReport::State::Failed) {
        watchLine = "Cannot fetch " + line + ": " + fetched.reason;
        watched = net::TableRow();
    }
}

std::optional<std::string> SharedListView::TakeBestGame() {
    return std::exchange(fetchedGame, std::nullopt);
}

void SharedListView::CannotWatch(const std::string& why) {
    watchLine = fetchedLine + " does not prove here: " + why;
    MakeBelow();
}

void SharedListView::MakeLines() {
    lines.clear();
    using PostState = net::PostReport::State;
    const bool marks = post.state == PostState::Listed || post.state == PostState::AlreadyListed;
    bool marked = !marks || post.line.empty();
    for (std::size_t i = 0; i < rows.rows.size() && i < kColumns * kSharedRowsPerColumn; ++i) {
        const std::string line = ScoreLine(rows.rows[i].points, rows.rows[i].name);
        auto text = std::make_unique<Text>(assets);
        if (!marked && line == post.line) {
            text->SetColour(kOwnLineColour);
            marked = true;
        }
        const std::size_t column = i / kSharedRowsPerColumn;
        text->SetPos(kColumnX[column], RowY(i % kSharedRowsPerColumn));
        text->Render(ShortenToFit(*text, line, ColumnRight(column) - kColumnX[column]).c_str());
        text->CloseFont();  // the lines are made again, fonts and all, only when the rows change
        lines.push_back(std::move(text));
    }
    MakePage();
}

// As this computer's side does, the lines go into a copy of the picture once, and each frame is
// then a single copy.
void SharedListView::MakePage() {
    page.reset();
    if (plain == nullptr) {
        return;
    }
    page.reset(SDL_ConvertSurface(plain.get(), plain->format, plain->flags));
    if (page != nullptr) {
        for (const auto& text : lines) {
            text->Draw(page.get());
        }
    }
}

void SharedListView::MakeBelow() {
    Show(assets, label, labelText, shared_words::Label(sharedShown, table.Host()), kLabelRow,
         kLabelColour, true);
    std::string line = afterStore ? shared_words::PostLine(post, table.Host()) : std::string();
    if (sharedShown) {
        const std::string rowsLine = shared_words::RowsLine(rows, table.Host());
        line = !watchLine.empty() ? watchLine : rowsLine.empty() ? line : rowsLine;
    }
    if (line.empty() && status == nullptr) {
        return;
    }
    Show(assets, status, statusText, line, kStatusRow, SDL_Color(), false);
}

void SharedListView::KeepPlainPicture(SDL_Surface& picture) {
    plain.reset(SDL_ConvertSurface(&picture, picture.format, picture.flags));
    MakePage();
}

void SharedListView::DrawShared(SDL_Surface* screen, Sprite& background) {
    if (page != nullptr) {
        BlitAt(page.get(), screen, 0, 0);
        return;
    }
    background.Draw(screen);
    for (const auto& text : lines) {
        text->Draw(screen);
    }
}

void SharedListView::DrawBelow(SDL_Surface* screen) {
    if (label != nullptr) {
        label->Draw(screen);
    }
    // A line on this computer's side only after a store: that side keeps its row otherwise.
    if (status != nullptr && (sharedShown || afterStore)) {
        status->Draw(screen);
    }
}
