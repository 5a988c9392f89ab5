// The browser's own mixer loader, in place of the desktop's: the browser's mixer is linked into
// the game, so there is nothing to load and every call is the linked one.
#include "sound/MixerLibrary.h"

namespace {
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
    library->OpenAudio = Mix_OpenAudio;
    library->CloseAudio = Mix_CloseAudio;
    library->AllocateChannels = Mix_AllocateChannels;
    library->LoadWAV_RW = LoadWavClosingSource;
    library->FreeChunk = Mix_FreeChunk;
    library->PlayChannelTimed = Mix_PlayChannelTimed;
    library->HaltChannel = Mix_HaltChannel;
    return library;
}
