#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/GameState.h"

// A screen that writes every call it receives into a shared log, so tests can check what the
// engine did in which order.
class RecordingState : public GameState {
  public:
    RecordingState(std::string label, std::vector<std::string>& log)
        : label(std::move(label)), log(log) {}
    ~RecordingState() override { log.push_back(label + ":destroyed"); }

    void MoveSprites() override { log.push_back(label + ":move"); }
    void Draw(SDL_Surface* /*screen*/) override { log.push_back(label + ":draw"); }
    void KeyPressed(int key) override {
        log.push_back(label + ":key" + std::to_string(key));
        if (onKey) {
            onKey(key);
        }
    }

    // Runs inside KeyPressed, after the key has been logged.
    std::function<void(int)> onKey;

  private:
    std::string label;
    std::vector<std::string>& log;
};
