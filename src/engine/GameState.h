#pragma once

#include <SDL.h>

#include <string>

#include "sound/Effect.h"

class ScreenEngine;

// One screen of the game. The engine owns the current one and calls it once per frame; a screen
// moves the game on by handing a new screen to ScreenEngine::SetState, which destroys the old one.
class GameState {
  public:
    virtual ~GameState() = default;

    virtual void MoveSprites() {}
    virtual void Draw(SDL_Surface* /*screen*/) {}
    virtual void KeyPressed(int /*key*/) {}
    // Whether the player may pause this screen (P, Start, or the window losing focus).
    virtual bool Pausable() const { return false; }

    void SetEngine(ScreenEngine* engine) { this->engine = engine; }
    ScreenEngine* GetEngine() const { return engine; }
    void SetName(std::string name) { this->name = std::move(name); }
    std::string GetName() const { return name; }
    // Through the engine, which may be muted. A screen that is about to replace itself plays its
    // sound first.
    void PlaySound(Effect effect);

  private:
    ScreenEngine* engine = nullptr;  // not owned; set when the engine installs this screen
    std::string name;
};
