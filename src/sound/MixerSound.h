#pragma once

#include <memory>

#include "sound/Sound.h"

// The sound device through SDL_mixer, with every effect loaded, once SDL's audio is up. Where
// there is no real device (no audio driver, or SDL's dummy one), or the mixer will not open, a
// silent Sound instead: the game plays on either way.
std::unique_ptr<Sound> OpenMixerSound();
