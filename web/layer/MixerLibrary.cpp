// The browser's MixerLibrary (src/sound/MixerLibrary.h): the browser's mixer is linked into the
// game, so there is nothing to load and every call is the linked one.
#include "sound/MixerLibrary.h"

#include <emscripten.h>

namespace {
// clang-format off
EM_JS(int, AudioOpenedBefore, (), { return SDL.audioContext ? 1 : 0; });
// clang-format on

// As many channels as the browser's Mix_OpenAudio makes.
constexpr int kOpenedChannels = 32;

// The browser's mixer opens its one audio context for the whole visit, and every opening leaves
// listeners on the page that wait for the player's next click or tap to resume it: a run after
// the first finds it open and only takes its channels again.
int OpenAudioOnce(int frequency, Uint16 format, int channels, int chunkSize) {
    if (AudioOpenedBefore() != 0) {
        Mix_AllocateChannels(kOpenedChannels);
        return 0;
    }
    return Mix_OpenAudio(frequency, format, channels, chunkSize);
}

// The browser's mixer never closes the source it reads, even when asked to as the desktop's does.
Mix_Chunk* LoadWavClosingSource(SDL_RWops* source, int closeSource) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, closeSource);
    if (source != nullptr && closeSource != 0) {
        SDL_FreeRW(source);
    }
    return chunk;
}
}  // namespace

void MixerLibrary::Closer::operator()(void* /*handle*/) const {}

std::unique_ptr<MixerLibrary> MixerLibrary::Load(std::string& /*reason*/, const char* /*file*/) {
    std::unique_ptr<MixerLibrary> library(new MixerLibrary());
    library->OpenAudio = OpenAudioOnce;
    library->CloseAudio = Mix_CloseAudio;
    library->AllocateChannels = Mix_AllocateChannels;
    library->LoadWAV_RW = LoadWavClosingSource;
    library->FreeChunk = Mix_FreeChunk;
    library->PlayChannelTimed = Mix_PlayChannelTimed;
    library->HaltChannel = Mix_HaltChannel;
    return library;
}
