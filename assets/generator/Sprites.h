#pragma once

#include "Canvas.h"

// The moving and standing things of the playing field. Each picture is as big as the rectangle
// the game tests hits against, so what the player sees is what gets hit.

constexpr int kCannonWidth = 72;
constexpr int kCannonHeight = 55;
constexpr int kAirplaneWidth = 73;
constexpr int kAirplaneHeight = 43;
constexpr int kShieldWidth = 95;
constexpr int kShieldHeight = 20;  // the top 12 rows stop shots; the jets below are looks only
constexpr int kBulletWidth = 5;
constexpr int kBulletHeight = 12;
constexpr int kBombWidth = 5;
constexpr int kBombHeight = 10;

// Colours of one airplane, so the two kinds tell apart at a glance.
struct AirplaneColours {
    Rgb body;
    Rgb light;
    Rgb dark;
    Rgb wing;
    Rgb accent;
    Rgb badge;
};

enum class Facing { Right, Left };

Canvas DrawCannon();
Canvas DrawAirplane(const AirplaneColours& colours, Facing facing);
AirplaneColours RaiderColours();  // the first airplane, flying left to right
AirplaneColours HunterColours();  // the second, flying right to left
Canvas DrawShield();
Canvas DrawBullet();
Canvas DrawBomb();
