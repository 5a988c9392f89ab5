#include "Sprites.h"

#include <string>
#include <utility>
#include <vector>

namespace {
// Cannon: a teal tank, the one friendly thing on the field.
constexpr Rgb kHull{30, 160, 150};
constexpr Rgb kHullLight{120, 230, 215};
constexpr Rgb kHullDark{16, 96, 100};
constexpr Rgb kHullRim{8, 32, 40};
constexpr Rgb kTrack{44, 48, 58};
constexpr Rgb kTread{96, 102, 118};
constexpr Rgb kWheel{150, 160, 175};
constexpr Rgb kHub{70, 76, 90};
constexpr Rgb kBarrel{150, 165, 180};
constexpr Rgb kBarrelLight{215, 225, 235};
constexpr Rgb kBarrelDark{80, 90, 105};
constexpr Rgb kBore{6, 10, 14};
constexpr Rgb kLamp{250, 235, 140};

// Airplanes share one dark rim and their glass and metal parts.
constexpr Rgb kPlaneRim{14, 12, 30};
constexpr Rgb kGlass{130, 210, 250};
constexpr Rgb kGlint{240, 250, 255};
constexpr Rgb kSpinner{200, 205, 215};
constexpr Rgb kBlade{215, 220, 230};
constexpr Rgb kExhaust{50, 50, 60};
constexpr Rgb kCarriedBomb{170, 178, 195};
constexpr Rgb kCarriedBand{250, 220, 50};

// Shield: a hovering steel plate with warning stripes and two lifting jets.
constexpr Rgb kPlate{120, 130, 150};
constexpr Rgb kPlateLight{200, 210, 225};
constexpr Rgb kPlateDark{60, 66, 86};
constexpr Rgb kPlateRim{16, 18, 28};
constexpr Rgb kWarnYellow{240, 210, 40};
constexpr Rgb kWarnBlack{30, 30, 36};
constexpr Rgb kJetPod{70, 76, 96};
constexpr Rgb kJetOuter{60, 150, 255};
constexpr Rgb kJetInner{170, 240, 255};
constexpr Rgb kJetCore{250, 255, 255};

// A picture drawn pixel by pixel: one character per pixel, '.' for see-through.
Canvas FromArt(const std::vector<std::string>& rows,
               const std::vector<std::pair<char, Rgb>>& inks) {
    Canvas canvas(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), kKey);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            for (const auto& [mark, colour] : inks) {
                if (rows[y][x] == mark) {
                    canvas.Plot(x, y, colour);
                }
            }
        }
    }
    return canvas;
}

// Repaints the pixels of one colour inside a band of rows.
void Shade(Canvas& canvas, Rgb from, int firstRow, int lastRow, Rgb to) {
    canvas.Recolour(
        [&](int x, int y) { return y >= firstRow && y <= lastRow && canvas.At(x, y) == from; }, to);
}
}  // namespace

Canvas DrawCannon() {
    Canvas c(kCannonWidth, kCannonHeight, kKey);
    // Everything is symmetric about x 35.5, the middle of the 5 pixels a bullet leaves by.
    c.FillEllipse(6, 48.5, 6, 6, kTrack);
    c.FillEllipse(65, 48.5, 6, 6, kTrack);
    c.FillRect(6, 43, 60, 12, kTrack);
    for (int x = 7; x <= 62; x += 4) {
        c.FillRect(x, 43, 2, 1, kTread);
        c.FillRect(x + 1, 54, 2, 1, kTread);
    }
    for (int wheelX : {8, 19, 30, 41, 52, 63}) {
        c.FillEllipse(wheelX, 49, 4, 4, kWheel);
        c.FillEllipse(wheelX, 49, 1.5, 1.5, kHub);
    }

    c.FillEllipse(35.5, 32, 17, 11, kHull);
    c.FillEllipse(30.5, 27, 8, 3.5, kHullLight);
    c.FillEllipse(45, 25, 3.5, 2, kHullDark);
    c.FillPolygon({{9, 33}, {62, 33}, {70, 41}, {70, 44}, {1, 44}, {1, 41}}, kHull);
    Shade(c, kHull, 33, 34, kHullLight);
    Shade(c, kHull, 42, 44, kHullDark);
    c.FillRect(4, 37, 4, 3, kLamp);
    c.FillRect(64, 37, 4, 3, kLamp);
    c.FillRect(24, 38, 24, 2, kHullDark);

    c.FillRect(27, 22, 18, 7, kHullDark);
    c.FillRect(31, 6, 10, 18, kBarrel);
    c.FillRect(31, 6, 2, 18, kBarrelLight);
    c.FillRect(39, 6, 2, 18, kBarrelDark);
    c.FillRect(30, 14, 12, 2, kBarrelDark);
    c.FillRect(29, 0, 14, 6, kBarrel);
    c.FillRect(29, 0, 3, 6, kBarrelLight);
    c.FillRect(40, 0, 3, 6, kBarrelDark);

    c.Outline(kHullRim);
    // The mouth the bullets come out of, left open after the rim is drawn.
    c.FillRect(33, 1, 5, 2, kBore);
    return c;
}

AirplaneColours RaiderColours() {
    return {{200, 34, 52}, {250, 110, 120}, {120, 18, 36},
            {228, 64, 82}, {245, 245, 250}, {250, 220, 60}};
}

AirplaneColours HunterColours() {
    return {{150, 190, 235}, {215, 235, 255}, {80, 110, 170},
            {190, 218, 250}, {30, 50, 120},   {220, 40, 60}};
}

Canvas DrawAirplane(const AirplaneColours& k, Facing facing) {
    // Drawn nose to the right, then turned round if it flies the other way.
    Canvas c(kAirplaneWidth, kAirplaneHeight, kKey);
    c.FillEllipse(46, 13, 9, 6, kGlass);
    c.FillPolygon({{6, 20}, {3, 3}, {12, 3}, {25, 17}}, k.body);
    c.FillPolygon({{5, 19}, {40, 12}, {40, 32}, {8, 26}}, k.body);
    c.FillEllipse(45, 22, 21, 10, k.body);
    Shade(c, k.body, 0, 15, k.light);
    Shade(c, k.body, 29, 42, k.dark);
    c.Recolour([&](int x, int y) { return x >= 17 && x <= 20 && y >= 12 && c.At(x, y) != kKey; },
               k.accent);
    c.FillEllipse(11, 22, 9, 2.5, k.wing);
    // The wing sits low and carries its own dark rim, so it reads against the fuselage.
    c.FillEllipse(40, 28, 15, 4, kPlaneRim);
    c.FillEllipse(40, 28, 14, 3, k.wing);
    Shade(c, k.wing, 0, 25, k.light);
    c.FillEllipse(30, 19, 4, 4, k.accent);
    c.FillEllipse(30, 19, 2, 2, k.badge);
    c.Recolour(
        [&](int x, int y) {
            return x >= 58 && x <= 59 && y >= 12 && y <= 32 && c.At(x, y) != kKey;
        },
        k.dark);
    c.FillEllipse(66, 22, 4, 5, kSpinner);
    c.FillRect(53, 18, 4, 2, kExhaust);

    Canvas plane = facing == Facing::Right ? std::move(c) : c.Mirrored();
    auto across = [facing](int x) { return facing == Facing::Right ? x : kAirplaneWidth - 1 - x; };

    // The bomb hangs where the game lets its bombs go: 38 to 42 pixels in from the left edge,
    // 35 rows down. Its nose points the way the airplane flies.
    plane.FillRect(39, 32, 3, 2, kExhaust);
    plane.FillEllipse(40, 36, 5, 2.5, kCarriedBomb);
    auto alongBomb = [facing](double x) { return facing == Facing::Right ? x : 80 - x; };
    plane.FillPolygon({{alongBomb(36), 36}, {alongBomb(33), 33}, {alongBomb(33), 39}}, kExhaust);
    plane.Recolour(
        [&](int x, int y) { return x == alongBomb(42) && plane.At(x, y) == kCarriedBomb; },
        kCarriedBand);
    plane.Outline(kPlaneRim);

    plane.FillRect(across(43), 9, 1, 2, kGlint);
    plane.FillRect(across(48), 9, 1, 1, kGlint);
    // A spinning propeller: a broken streak reads as motion.
    int blade = across(70);
    int edge = across(71);
    for (int y = 3; y <= 41; ++y) {
        plane.Plot(blade, y, kBlade);
        if (y % 3 != 0) {
            plane.Plot(edge, y, kBlade);
        }
    }
    plane.FillRect(blade, 3, 1, 3, k.accent);
    plane.FillRect(blade, 39, 1, 3, k.accent);
    return plane;
}

Canvas DrawShield() {
    Canvas c(kShieldWidth, kShieldHeight, kKey);
    c.FillPolygon({{2, 0}, {92, 0}, {94, 2}, {94, 11}, {0, 11}, {0, 2}}, kPlate);
    c.Recolour([](int x, int y) { return y <= 1 && x > 0 && x < kShieldWidth - 1; }, kPlateLight);
    c.Recolour([&](int, int y) { return y >= 10 && y <= 11; }, kPlateDark);
    c.Recolour([](int x, int y) { return y >= 3 && y <= 8 && x >= 7 && x <= 87; }, kWarnBlack);
    c.Recolour(
        [](int x, int y) { return y >= 3 && y <= 8 && x >= 7 && x <= 87 && (x + y) / 5 % 2 == 0; },
        kWarnYellow);
    for (int x : {3, 91}) {
        c.FillRect(x, 5, 1, 2, kPlateLight);
    }
    // The jets hang below the plate; they stop nothing.
    for (int podX : {14, 70}) {
        c.FillRect(podX, 12, 11, 3, kJetPod);
        c.FillPolygon({{podX + 1.0, 15}, {podX + 9.0, 15}, {podX + 5.0, 19}}, kJetOuter);
        c.FillPolygon({{podX + 3.0, 15}, {podX + 7.0, 15}, {podX + 5.0, 18}}, kJetInner);
        c.FillRect(podX + 5, 15, 1, 2, kJetCore);
    }
    c.Outline(kPlateRim);
    return c;
}

Canvas DrawBullet() {
    return FromArt({"..w..", ".wWw.", ".wWw.", "cwWwc", "cwWwc", "cwWwc", "cwWwc", ".cwc.", ".cwc.",
                    "..c..", ".b.b.", "..b.."},
                   {{'W', {250, 255, 255}},
                    {'w', {150, 240, 255}},
                    {'c', {40, 190, 255}},
                    {'b', {40, 90, 230}}});
}

Canvas DrawBomb() {
    return FromArt(
        {".f.f.", "fffff", ".fdf.", ".YYY.", "BHBBd", "BHBBd", "BHBBd", "BBBBd", ".BBd.", "..R.."},
        {{'f', {120, 126, 145}},
         {'d', {90, 96, 115}},
         {'Y', {250, 220, 50}},
         {'B', {170, 178, 195}},
         {'H', {240, 244, 252}},
         {'R', {230, 40, 60}}});
}
