#pragma once

// What a player learns about the game by watching it: where things stand, how fast they move,
// which hits count, and the colours by which each picture can be told apart in the window. The
// colours are the ones the pictures in assets/ use and no other picture shares.

#include <cstdint>

namespace facts {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kFrameMillis = 20;

using Rgb = std::uint32_t;  // 0xRRGGBB

// A colour of a picture and the box it fills inside that picture, so that the picture's corner
// can be worked out from either edge of what shows of it.
struct Mark {
    Rgb colour;
    int left;
    int right;
    int top;
    int bottom;
};

// The cannon: its hull, on the one row it ever stands on.
constexpr Mark kCannonMark = {0x1EA096, 2, 69, 24, 41};
constexpr int kCannonY = 423;
constexpr int kCannonWidth = 72;
constexpr int kCannonHeight = 55;
constexpr int kCannonStep = 3;
constexpr int kCannonMinX = -2;
constexpr int kCannonMaxX = 596;

// The two airplanes: the red one flies right along y 35, the blue one left along y 80.
struct AirplaneKind {
    Mark mark;
    int y;
    int step;  // pixels a frame, negative to the left
};
constexpr AirplaneKind kRedAirplane = {{0xC82234, 6, 63, 16, 28}, 35, 2};
constexpr AirplaneKind kBlueAirplane = {{0x96BEEB, 9, 66, 16, 28}, 80, -4};
constexpr int kAirplaneWidth = 73;
constexpr int kAirplaneHeight = 43;
constexpr int kAirplaneWrapRight = 649;  // a red airplane beyond this comes back at the left
constexpr int kAirplaneWrapLeft = -80;   // a blue one at or beyond this comes back at the right

// Bombs: the fins, whose middle row runs the bomb's full width.
constexpr Mark kBombFins = {0x787E91, 0, 4, 0, 2};
constexpr int kBombWidth = 5;
constexpr int kBombStep = 5;
constexpr int kBombFromAirplaneX = 38;

// Bullets: their blue glow; they rise from 33 pixels right of the cannon's left edge.
constexpr Mark kBulletGlow = {0x28BEFF, 0, 4, 3, 9};
constexpr int kBulletFromCannonX = 33;
constexpr int kBulletStartY = 420;
constexpr int kBulletStep = 4;
constexpr int kProbeWidth = 5;  // bullets and bombs hit with their top edge, 5 pixels wide

// Shields: the yellow hazard stripes; they stop bullets and bombs alike.
constexpr Mark kShieldStripes = {0xF0D228, 7, 87, 3, 8};
constexpr int kShieldY = 350;
constexpr int kShieldWidth = 95;
constexpr int kShieldHeight = 12;

// The line under the HUD runs across the whole play screen, above the airplanes, and no other
// screen has it.
constexpr Rgb kHudLine = 0x3CAADC;
constexpr int kHudLineY = 36;

}  // namespace facts
