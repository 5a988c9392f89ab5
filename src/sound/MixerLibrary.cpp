#include "sound/MixerLibrary.h"

#include <dlfcn.h>

#include <type_traits>

void MixerLibrary::Closer::operator()(void* handle) const {
    dlclose(handle);
}

std::unique_ptr<MixerLibrary> MixerLibrary::Load(std::string& reason, const char* file) {
    // Local: nothing else in the game may pick up the mixer's symbols, or those of the libraries
    // it brings. Never unloaded: those libraries keep what they allocate in their own globals,
    // which an unload would take away with the code that frees it.
    std::unique_ptr<MixerLibrary> library(new MixerLibrary());
    library->handle.reset(dlopen(file, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    if (library->handle == nullptr) {
        const char* error = dlerror();
        reason = error != nullptr ? error : file;
        return nullptr;
    }
    bool found = true;
    auto find = [&library, &reason, &found, file](auto& call, const char* name) {
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(
            dlsym(library->handle.get(), name));
        if (call == nullptr && found) {
            found = false;
            reason = std::string(name) + " not found in " + file;
        }
    };
    find(library->OpenAudio, "Mix_OpenAudio");
    find(library->CloseAudio, "Mix_CloseAudio");
    find(library->AllocateChannels, "Mix_AllocateChannels");
    find(library->LoadWAV_RW, "Mix_LoadWAV_RW");
    find(library->FreeChunk, "Mix_FreeChunk");
    find(library->PlayChannelTimed, "Mix_PlayChannelTimed");
    find(library->HaltChannel, "Mix_HaltChannel");
    if (!found) {
        return nullptr;
    }
    return library;
}
