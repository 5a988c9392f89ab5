#pragma once

// The sound effects of the game. Bombs have none: at up to twenty a second they would drown out
// everything else.
enum class Effect {
    Fire,             // the cannon fires
    AirplaneHit,      // a hit that leaves the airplane hit points to come back with
    AirplaneDown,     // the hit that takes its last one
    LevelCleared,     // every airplane of the level is down
    CannonDestroyed,  // a bomb reached the cannon
    Select,           // a key that moves through the menu, the list or the name entry
};

constexpr int kEffectCount = static_cast<int>(Effect::Select) + 1;

// The file each effect is read from, in the data folder like the pictures, in the order
// of Effect.
constexpr const char* kEffectFiles[kEffectCount] = {
    "fire.wav", "hit.wav", "down.wav", "level.wav", "destroyed.wav", "select.wav",
};
