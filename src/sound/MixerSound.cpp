// Everything that plays through SDL_mixer lives in this file, so a build without the mixer
// replaces this one file.
#include "sound/MixerSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "report/DataFolder.h"
#include "report/MissingFiles.h"
#include "sound/MixerLibrary.h"

namespace {
constexpr int kFrequency = 22050;
constexpr int kOutputChannels = 2;
// About 23 ms of sound a buffer: short enough that a shot is heard within a frame or two.
constexpr int kBufferSamples = 512;
// Enough voices for a burst of shots with hits and a level tune over them: a new effect that
// finds every voice busy is simply not heard.
constexpr int kVoices = 16;
// The driver SDL falls back on when asked for no sound: opening the mixer there plays nothing and
// only adds a mixing thread.
constexpr const char* kSilentDriver = "dummy";

struct ChunkDeleter {
    decltype(&Mix_FreeChunk) freeChunk;
    void operator()(Mix_Chunk* chunk) const { freeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

// Made once the mixer has opened the device.
class MixerSound : public Sound {
  public:
    MixerSound(std::unique_ptr<MixerLibrary> library, const DataFolder& folder,
               MissingFiles& missing)
        : mixer(std::move(library)) {
        mixer->AllocateChannels(kVoices);
        for (int i = 0; i < kEffectCount; ++i) {
            chunks[i] = ChunkPtr(
                mixer->LoadWAV_RW(SDL_RWFromFile(folder.File(kEffectFiles[i]).c_str(), "rb"), 1),
                ChunkDeleter{mixer->FreeChunk});
            if (chunks[i] == nullptr) {
                missing.Report(kEffectFiles[i], Mix_GetError());
            }
        }
    }
    ~MixerSound() override {
        mixer->HaltChannel(-1);
        for (auto& chunk : chunks) {
            chunk.reset();
        }
        mixer->CloseAudio();
    }
    MixerSound(const MixerSound&) = delete;
    MixerSound& operator=(const MixerSound&) = delete;

    void Play(Effect effect) override {
        Mix_Chunk* chunk = chunks[static_cast<int>(effect)].get();
        if (chunk != nullptr) {
            mixer->PlayChannelTimed(-1, chunk, 0, -1);
        }
    }
    void Halt() override { mixer->HaltChannel(-1); }

  private:
    // Declared first so that it is unloaded last, after every chunk it made.
    std::unique_ptr<MixerLibrary> mixer;
    std::array<ChunkPtr, kEffectCount> chunks;
};

bool RealAudioDriver() {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        return false;
    }
    // SDL counts its audio as started even when it found no device; then it names no driver.
    char name[32];
    if (SDL_AudioDriverName(name, sizeof name) == nullptr) {
        return false;
    }
    return std::strcmp(name, kSilentDriver) != 0;
}
}  // namespace

std::unique_ptr<Sound> OpenMixerSound(const DataFolder& folder, MissingFiles& missing) {
    if (!RealAudioDriver()) {
        return std::make_unique<SilentSound>();
    }
    std::string reason;
    std::unique_ptr<MixerLibrary> mixer = MixerLibrary::Load(reason);
    if (mixer == nullptr) {
        std::fprintf(stderr,
                     "arcade-game: cannot load the sound mixer (%s); going on without sound\n",
                     reason.c_str());
        return std::make_unique<SilentSound>();
    }
    if (mixer->OpenAudio(kFrequency, AUDIO_S16SYS, kOutputChannels, kBufferSamples) != 0) {
        return std::make_unique<SilentSound>();
    }
    return std::make_unique<MixerSound>(std::move(mixer), folder, missing);
}
