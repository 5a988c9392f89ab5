#include "Screens.h"

#include <utility>

#include "Scenery.h"
#include "Sprites.h"
#include "screens/ScoreListLayout.h"

namespace {
// Where the game writes its own text; see the engine and play screen.
constexpr int kHudTextY = 11;
constexpr int kLevelNumberX = 290;
constexpr int kScoreNumberX = 520;
constexpr int kNameRowY = 350;
constexpr int kNameX = 100;
// The height of a line of the game's text, and the room kept around the rows of the name.
constexpr int kGameTextHeight = 25;
constexpr int kNameRowMargin = 8;

// The upper airplane flies with its top edge at y 35 and the tip of its tail three rows lower,
// at 38. The score strip's line and its shadow end just above that. The game's level and score
// lines are 25 rows tall from y 11, so the wells they stand in reach down to the line.
constexpr int kHudLineY = 36;
constexpr int kHudLineHeight = 1;
constexpr int kWellTop = 6;

// Lettering colours. None comes near the game's magenta, so its text always stands apart.
constexpr Rgb kGoldTop{255, 246, 170};
constexpr Rgb kGoldBottom{250, 196, 40};
constexpr Rgb kRedTop{255, 120, 120};
constexpr Rgb kRedBottom{190, 20, 40};
constexpr Rgb kRimDark{16, 8, 40};
constexpr Rgb kShadow{0, 0, 8};
constexpr Rgb kCyan{120, 225, 255};
constexpr Rgb kWhite{235, 240, 255};
constexpr Rgb kPaleBlue{170, 190, 230};

constexpr Rgb kHudStrip{10, 12, 30};
constexpr Rgb kHudEdge{60, 170, 220};
constexpr Rgb kWell{2, 2, 10};
constexpr Rgb kWellEdge{40, 60, 110};

constexpr Rgb kKeyTop{210, 216, 228};
constexpr Rgb kKeySide{120, 126, 146};
constexpr Rgb kKeyEdge{30, 32, 44};
constexpr Rgb kKeyInk{20, 22, 34};

constexpr Rgb kSmoke{70, 74, 90};
constexpr Rgb kSmokeLight{104, 108, 126};
constexpr Rgb kScorch{20, 20, 26};
constexpr Rgb kFlameRed{220, 40, 50};
constexpr Rgb kFlameYellow{250, 232, 90};

constexpr Rgb kCupGold{240, 200, 50};
constexpr Rgb kCupLight{255, 240, 150};
constexpr Rgb kCupShade{180, 140, 30};
constexpr Rgb kCupBase{90, 60, 120};

const LetterStyle kTitleGold{kGoldTop, kGoldBottom, kRimDark, 3, kShadow, 5};
const LetterStyle kTitleRed{kRedTop, kRedBottom, kRimDark, 3, kShadow, 5};
const LetterStyle kLabel{kCyan, kCyan, kRimDark, 1};
const LetterStyle kPlain{kWhite, kWhite, kRimDark, 1};
const LetterStyle kHint{kPaleBlue, kPaleBlue};

constexpr int kKeyHeight = 30;
// The list's last row reaches down to y 474 with the tails of its letters. Below it the panel
// keeps two rows of its own, then its 2-pixel border and a 1-pixel shadow fill the window's last
// rows.
constexpr int kLowestListInk = 474;
constexpr int kListMargin = 2;
constexpr int kListPanelShadow = 1;
// Room between a panel's right side and the window's edge.
constexpr int kPanelMargin = 10;
// The menu's panel reaches to the airplanes on either side of it.
constexpr int kMenuPanelLeft = 110;
constexpr int kMenuPanelRight = 530;
constexpr int kMenuRowSpacing = 38;

// A key of the keyboard, drawn as a raised cap; returns its right edge.
int DrawKeycap(Canvas& canvas, const Fonts& fonts, int x, int y, int w, const std::string& label) {
    canvas.FillRect(x, y, w, kKeyHeight, kKeyEdge);
    canvas.FillRect(x + 1, y + 1, w - 2, kKeyHeight - 2, kKeySide);
    canvas.FillRect(x + 3, y + 2, w - 6, kKeyHeight - 7, kKeyTop);
    if (!label.empty()) {
        Mask shape = fonts.keycap.Shape(label);
        canvas.Blend(shape, x + (w - shape.Width()) / 2,
                     y + 2 + (kKeyHeight - 7 - shape.Height()) / 2, kKeyInk);
    }
    return x + w;
}

// An arrow key; pointsLeft chooses the direction of its triangle.
int DrawArrowKey(Canvas& canvas, const Fonts& fonts, int x, int y, bool pointsLeft) {
    int right = DrawKeycap(canvas, fonts, x, y, kKeyHeight, "");
    double mid = y + 2 + (kKeyHeight - 7) / 2.0;
    double tip = pointsLeft ? x + 9 : x + kKeyHeight - 10;
    double back = pointsLeft ? x + kKeyHeight - 11 : x + 10;
    canvas.FillPolygon({{tip, mid}, {back, mid - 6}, {back, mid + 6}}, kKeyInk);
    return right;
}

void DrawSmoke(Canvas& canvas, int x, int y) {
    // Drifting right and staying below the name row.
    canvas.FillEllipse(x, y, 9, 6, kSmoke);
    canvas.FillEllipse(x + 8, y - 11, 10, 6, kSmoke);
    canvas.FillEllipse(x + 18, y - 21, 7, 5, kSmoke);
    canvas.FillEllipse(x - 2, y - 2, 4, 2, kSmokeLight);
    canvas.FillEllipse(x + 6, y - 13, 5, 2, kSmokeLight);
}

// What is left of the cannon: its own picture burnt to greys, flames on the hull.
Canvas DrawWreck() {
    Canvas wreck = DrawCannon();
    wreck.Recolour(
        [&](int x, int y) {
            Rgb c = wreck.At(x, y);
            return c != kKey && (c.r + c.g + c.b) / 3 < 60;
        },
        kScorch);
    wreck.Recolour(
        [&](int x, int y) {
            Rgb c = wreck.At(x, y);
            return c != kKey && c != kScorch;
        },
        kSmoke);
    wreck.FillRect(28, 0, 16, 18, kKey);  // the barrel is gone
    wreck.FillPolygon({{20, 34}, {26, 22}, {30, 30}, {35, 16}, {40, 30}, {45, 24}, {50, 34}},
                      kFlameRed);
    wreck.FillPolygon({{27, 34}, {31, 28}, {35, 22}, {39, 28}, {43, 34}}, kFlameYellow);
    return wreck;
}

// Drawn on a see-through canvas: the key colour punched into the handles lets the sky show.
void DrawTrophy(Canvas& canvas, int cx, int top) {
    canvas.FillEllipse(cx - 40, top + 30, 16, 20, kCupShade);
    canvas.FillEllipse(cx - 40, top + 30, 9, 13, kKey);
    canvas.FillEllipse(cx + 40, top + 30, 16, 20, kCupShade);
    canvas.FillEllipse(cx + 40, top + 30, 9, 13, kKey);
    canvas.FillPolygon({{cx - 44.0, top + 0.0},
                        {cx + 44.0, top + 0.0},
                        {cx + 34.0, top + 50.0},
                        {cx + 10.0, top + 72.0},
                        {cx - 10.0, top + 72.0},
                        {cx - 34.0, top + 50.0}},
                       kCupGold);
    canvas.FillPolygon({{cx - 36.0, top + 6.0},
                        {cx - 24.0, top + 6.0},
                        {cx - 18.0, top + 56.0},
                        {cx - 26.0, top + 48.0}},
                       kCupLight);
    canvas.FillPolygon({{cx + 24.0, top + 6.0},
                        {cx + 38.0, top + 6.0},
                        {cx + 28.0, top + 50.0},
                        {cx + 14.0, top + 66.0}},
                       kCupShade);
    canvas.FillRect(cx - 7, top + 72, 14, 16, kCupShade);
    canvas.FillRect(cx - 30, top + 88, 60, 8, kCupGold);
    canvas.FillRect(cx - 36, top + 96, 72, 16, kCupBase);
    canvas.FillRect(cx - 36, top + 96, 72, 2, kCupLight);
    canvas.FillRect(cx - 44, top - 4, 88, 5, kCupLight);
}
}  // namespace

Fonts::Fonts(const std::string& fontDir)
    : title(fontDir + "/LiberationSans-Bold.ttf", 20, 4, Placing::Ink),
      smallTitle(fontDir + "/LiberationSans-Bold.ttf", 14, 3, Placing::Ink),
      heading(fontDir + "/LiberationSans-Bold.ttf", 30, 1, Placing::Ink),
      body(fontDir + "/LiberationSans-Bold.ttf", 22),
      keycap(fontDir + "/LiberationSans-Bold.ttf", 13, 1, Placing::Ink) {}

bool Fonts::AllOpen() const {
    return title.IsOpen() && smallTitle.IsOpen() && heading.IsOpen() && body.IsOpen() &&
           keycap.IsOpen();
}

Canvas DrawPlayfield(const Fonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight, kHudStrip);
    DrawNightScene(c);

    // The score strip along the top: the game writes the level and the score into the wells.
    c.FillRect(0, 0, kScreenWidth, kHudLineY, kHudStrip);
    c.FillRect(0, kHudLineY, kScreenWidth, kHudLineHeight, kHudEdge);
    c.FillRect(0, kHudLineY + kHudLineHeight, kScreenWidth, 1, kShadow);
    for (auto [left, width] :
         {std::pair{kLevelNumberX - 6, 56}, std::pair{kScoreNumberX - 6, 100}}) {
        c.FillRect(left - 1, kWellTop - 1, width + 2, kHudLineY - kWellTop + 1, kWellEdge);
        c.FillRect(left, kWellTop, width, kHudLineY - kWellTop, kWell);
    }
    fonts.body.DrawRightAligned(c, "Level", kLevelNumberX - 14, kHudTextY, kLabel);
    fonts.body.DrawRightAligned(c, "Score", kScoreNumberX - 14, kHudTextY, kLabel);
    fonts.body.Draw(c, "Arcade Game", 12, kHudTextY,
                    LetterStyle{kGoldTop, kGoldBottom, kRimDark, 1});
    return c;
}

Canvas DrawMenu(const Fonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight, kHudStrip);
    DrawNightScene(c, 598, 150);
    fonts.title.DrawCentred(c, "Arcade Game", kScreenWidth / 2, 36, kTitleGold);

    // The menu's own keys on the left; on the right the keys that work on every screen, which a
    // player would otherwise never find.
    DrawPanel(c, kMenuPanelLeft, 146, kMenuPanelRight - kMenuPanelLeft, 230);
    const int keyX = kMenuPanelLeft + 20;
    const int textX = keyX + 74;
    const int everywhereX = 344;
    struct MenuLine {
        const char* key;
        const char* does;
    };
    const MenuLine lines[] = {{"Enter", "Play"}, {"Space", "High scores"}, {"Esc", "Quit"}};
    int y = 162;
    for (const MenuLine& line : lines) {
        DrawKeycap(c, fonts, keyX, y, 64, line.key);
        fonts.body.Draw(c, line.does, textX, y + 1, kPlain);
        y += kMenuRowSpacing;
    }
    y = 162;
    int x = DrawKeycap(c, fonts, everywhereX, y, kKeyHeight, "M");
    fonts.body.Draw(c, "Sound", x + 10, y + 1, kPlain);
    y += kMenuRowSpacing;
    x = DrawKeycap(c, fonts, everywhereX, y, 40, "F11");
    fonts.body.Draw(c, "Full screen", x + 10, y + 1, kPlain);
    y += kMenuRowSpacing;
    x = DrawKeycap(c, fonts, everywhereX, y, 48, "PgUp");
    x = DrawKeycap(c, fonts, x + 4, y, 48, "PgDn");
    fonts.body.Draw(c, "Size", x + 10, y + 1, kPlain);

    c.FillRect(keyX - 6, 282, kMenuPanelRight - kMenuPanelLeft - 28, 1, kWellEdge);
    fonts.body.Draw(c, "In the game", keyX, 288, kHint);
    const int gameKeysY = 324;
    x = DrawArrowKey(c, fonts, keyX, gameKeysY, true);
    x = DrawArrowKey(c, fonts, x + 4, gameKeysY, false);
    fonts.body.Draw(c, "Move", x + 10, gameKeysY + 1, kPlain);
    x = DrawKeycap(c, fonts, 272, gameKeysY, 64, "Space");
    fonts.body.Draw(c, "Fire", x + 10, gameKeysY + 1, kPlain);
    x = DrawKeycap(c, fonts, 414, gameKeysY, kKeyHeight, "P");
    fonts.body.Draw(c, "Pause", x + 10, gameKeysY + 1, kPlain);

    c.Paste(DrawAirplane(RaiderColours(), Facing::Right), 30, 170);
    c.Paste(DrawAirplane(HunterColours(), Facing::Left), 540, 230);
    c.Paste(DrawBomb(), 578, 276);
    c.Paste(DrawCannon(), 284, 423);
    c.Paste(DrawBullet(), 317, 390);
    c.Paste(DrawBullet(), 317, 408);
    return c;
}

Canvas DrawGameOver(const Fonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight, kHudStrip);
    DrawNightScene(c, 64, 236);
    fonts.title.DrawCentred(c, "Game over", kScreenWidth / 2, 90, kTitleRed);
    fonts.body.DrawCentred(c, "Type your name for the high scores,", kScreenWidth / 2, 236, kPlain);
    fonts.body.DrawCentred(c, "then press Enter.", kScreenWidth / 2, 266, kPlain);

    // The rows where the game shows the typed name and its prompt stay dark and plain: a long
    // name moves the prompt a row down, and the panel holds that row too, with the same room
    // below it as above the name. The panel ends, border and shadow too, short of the window's
    // right edge. The smoke rises from behind it.
    DrawSmoke(c, 188, 418);
    const int panelLeft = kNameX - 6;
    const int panelTop = kNameRowY - kNameRowMargin;
    const int panelBottom = kNameRowY + 2 * kGameTextHeight + kNameRowMargin;
    DrawPanel(c, panelLeft, panelTop, kScreenWidth - panelLeft - kPanelMargin,
              panelBottom - panelTop);
    fonts.body.DrawRightAligned(c, "Name", kNameX - 14, kNameRowY, kLabel);

    c.Paste(DrawWreck(), 150, 423);
    return c;
}

Canvas DrawAddScore(const Fonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight, kHudStrip);
    DrawNightScene(c);
    Canvas trophy(kScreenWidth, 130, kKey);
    DrawTrophy(trophy, kScreenWidth / 2, 10);
    trophy.Outline(kRimDark);
    c.Paste(trophy, 0, 40);
    fonts.title.DrawCentred(c, "Press Enter", kScreenWidth / 2, 200, kTitleGold);
    fonts.heading.DrawCentred(c, "to store your score", kScreenWidth / 2, 290, kPlain);
    int keyLeft = kScreenWidth / 2 - 43;
    DrawKeycap(c, fonts, keyLeft, 350, 86, "Enter");
    return c;
}

Canvas DrawShowScore(const Fonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight, kHudStrip);
    DrawNightScene(c);
    // The list's two columns run from y 60 down to the bottom edge; the panel takes all of that
    // and keeps its border and shadow inside the window. The game fits the right column's lines
    // to the panel's inner right edge.
    const int panelLeft = score_list::kColumnX[0] - 14;
    const int panelTop = score_list::kFirstRowY - 4;
    DrawPanel(c, panelLeft, panelTop, score_list::kPanelInnerRight - panelLeft,
              kLowestListInk + kListMargin - panelTop + 1, kListPanelShadow);
    fonts.smallTitle.DrawCentred(c, "High scores", kScreenWidth / 2 - 30, 5,
                                 LetterStyle{kGoldTop, kGoldBottom, kRimDark, 2, kShadow, 3});
    DrawKeycap(c, fonts, 522, 12, 58, "Enter");
    fonts.keycap.Draw(c, "menu", 588, 20, kHint);
    // R watches the best game kept again.
    DrawKeycap(c, fonts, 36, 12, kKeyHeight, "R");
    fonts.keycap.Draw(c, "replay", 74, 20, kHint);
    return c;
}
