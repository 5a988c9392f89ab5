#pragma once

#include <cstdint>
#include <vector>

// The game's sound effects as 8-bit samples (see SoundsWav.h). Only adds, multiplies and
// divides go into them, no library maths, so every machine draws the same bytes.
std::vector<std::uint8_t> DrawFire();
std::vector<std::uint8_t> DrawAirplaneHit();
std::vector<std::uint8_t> DrawAirplaneDown();
std::vector<std::uint8_t> DrawLevelCleared();
std::vector<std::uint8_t> DrawCannonDestroyed();
std::vector<std::uint8_t> DrawSelect();
