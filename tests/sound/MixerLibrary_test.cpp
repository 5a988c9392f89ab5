// The mixer's library is loaded only where there is sound to play.
#include "sound/MixerLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/GameEngine.h"

namespace {

bool MixerInProcess() {
    void* handle = dlopen(MixerLibrary::kFile, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return false;
    }
    dlclose(handle);
    return true;
}

TEST(MixerLibrary, AnEngineWithoutASoundDeviceNeverLoadsIt) {
    // Set here: of the suite's environment, only its first variable reaches each test.
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
    GameEngine engine;
    EXPECT_FALSE(MixerInProcess());
}

TEST(MixerLibrary, OneThatCannotBeLoadedIsToldWithTheReason) {
    std::string reason;
    EXPECT_EQ(MixerLibrary::Load(reason, "libarcade-no-such-mixer.so.0"), nullptr);
    EXPECT_NE(reason.find("libarcade-no-such-mixer.so.0"), std::string::npos) << reason;
    // A library that is there but is not the mixer lacks its calls.
    EXPECT_EQ(MixerLibrary::Load(reason, "libSDL-1.2.so.0"), nullptr);
    EXPECT_NE(reason.find("Mix_OpenAudio not found"), std::string::npos) << reason;
    EXPECT_FALSE(MixerInProcess());
}

}  // namespace
