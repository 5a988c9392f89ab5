#pragma once

// What arcade-make-replays plays games with: the game itself, headless, its replays recorded.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/FrameInput.h"
#include "replay/Replay.h"

class GameEngine;

// Plays one game from the menu in the current (scratch) folder with the player made for its
// engine; its replay's bytes, or empty when it never got to the list within `frames` frames.
std::string PlayOne(const std::function<std::unique_ptr<FrameInput>(GameEngine&)>& player,
                    int frames);

// Once the game asks for the name: its keys, then Enter until the score is stored.
class TypingName {
  public:
    explicit TypingName(std::string name) : name(std::move(name)) {}
    // False once every key is pressed.
    bool Next(SDL_Event& event);

  private:
    std::string name;
    std::size_t typed = 0;
    int returns = 0;
};

// Plays a recorded game's frames until the game ends, then types a name of its own and stores
// it: the same play (or one changed on purpose) under another name.
class FollowingPlayer : public FrameInput {
  public:
    FollowingPlayer(GameEngine& engine, const std::vector<replay::Taken>& frames, std::string name)
        : engine(engine), frames(frames), typing(std::move(name)) {}

    bool NextEvent(SDL_Event& event) override;
    HeldWays Held(Gamepad* pad, const KeyBindings* bound) override;

  private:
    GameEngine& engine;
    const std::vector<replay::Taken>& frames;
    TypingName typing;
    std::size_t next = 0;
    bool naming = false;
};

// For each frame of a recorded game, whether it began in play (not paused); and the points it
// made, as the game-over screen took them (-1 when the game did not end).
std::vector<bool> FramesOfPlay(const replay::Replay& game, int& points);
