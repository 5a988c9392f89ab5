#pragma once

#include <memory>
#include <vector>

#include "sound/Sound.h"

// A sound device that only writes down what it was asked to do.
class RecordingSound : public Sound {
  public:
    void Play(Effect effect) override { played.push_back(effect); }
    void Halt() override { ++halts; }

    std::vector<Effect> played;
    int halts = 0;
};

// Installs a RecordingSound in the engine and returns it (the engine owns it).
template <typename Engine>
RecordingSound* UseRecordingSound(Engine& engine) {
    auto sound = std::make_unique<RecordingSound>();
    RecordingSound* recorder = sound.get();
    engine.SetSound(std::move(sound));
    return recorder;
}
