#pragma once

#include <SDL.h>

#include "gfx/SdlPtr.h"

// A picture at a position. The moving kinds override the steps they use; a plain Sprite is a
// still picture (a background, a shield).
class Sprite {
  public:
    Sprite() = default;
    virtual ~Sprite() = default;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    virtual void MoveLeft() {}
    virtual void MoveRight() {}
    virtual void MoveUp() {}
    virtual void MoveDown() {}
    // Whether this sprite's probe, its top edge over its first five pixels, lies strictly inside
    // the rectangle. Only the other side has a size, so a hit never depends on a picture.
    // Defined here so that a proof, which tests every bullet against four targets a frame, calls
    // it without a jump where the projectile's kind is known.
    virtual bool CollisionCheck(int x, int y, int w, int h) {
        return this->y > y && this->y<y + h&& this->x + kProbeWidth> x && this->x < x + w;
    }
    virtual void Draw(SDL_Surface* screen);
    // The removal mark of projectiles; a still picture is never removed.
    virtual void SetDel() {}
    virtual bool GetDel() { return false; }

    int GetPosX() const { return x; }
    int GetPosY() const { return y; }
    void SetPos(int x, int y);
    SDL_Surface* GetImage() const { return image.get(); }
    // Takes ownership of image (which may be null) and frees the one it replaces.
    void SetImage(SDL_Surface* image);

  private:
    // Width of the probe along a sprite's top edge.
    static constexpr int kProbeWidth = 5;

    SurfacePtr image;
    int x = 0;
    int y = 0;
};
