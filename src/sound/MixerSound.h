#pragma once

#include <memory>

#include "report/DataFolder.h"
#include "report/MissingFiles.h"
#include "sound/Sound.h"

// The sound device through SDL_mixer, with every effect loaded, once SDL's audio is up. Where
// there is no real device (no audio driver, or SDL's dummy one), or the mixer will not open, a
// silent Sound instead: the game plays on either way. The effects are read from folder; one that
// cannot be loaded goes to missing and stays silent.
std::unique_ptr<Sound> OpenMixerSound(const DataFolder& folder, MissingFiles& missing);
