#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>
#include <string>

// The mixer's library and the few calls the game makes into it. It is loaded only once there is
// a sound device to play on: the mixer brings some thirty libraries along, megabytes of memory
// and a slower start that a machine without sound would pay for nothing.
class MixerLibrary {
  public:
    static constexpr const char* kFile = "libSDL_mixer-1.2.so.0";

    // Null, with why in reason, when the library cannot be loaded or lacks one of the calls.
    static std::unique_ptr<MixerLibrary> Load(std::string& reason, const char* file = kFile);

    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
    decltype(&Mix_HaltChannel) HaltChannel = nullptr;

  private:
    MixerLibrary() = default;

    struct Closer {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Closer> handle;
};
