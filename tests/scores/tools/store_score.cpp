// Stores scores into highscore.txt in the working directory as the game does: a name typed into
// the engine's name entry, then Enter on the add-score screen, once for every score. The tests
// run it as another user, kill it part way through, and run two of it at once.
//
//   store-score NAME FIRST COUNT [PAUSE_MS]
//
// stores the scores FIRST to FIRST + COUNT - 1 under NAME. With PAUSE_MS, every write of the new
// file takes that long and carries at most kSlowWriteBytes, so that a test can kill the tool while
// a new file is being written. Exit status 0 when every Enter opened the high-score list; the
// list's notice of a store that failed goes to standard output, one line each.
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/GameEngine.h"
#include "scores/HighScoreIo.h"
#include "screens/StateAddScore.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"

namespace {
constexpr int kBadArguments = 2;
constexpr int kNoList = 3;
constexpr std::size_t kSlowWriteBytes = 4096;

class SlowIo : public HighScoreIo {
  public:
    explicit SlowIo(long pauseMs) : pauseMs(pauseMs) {}
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        timespec pause{pauseMs / 1000, (pauseMs % 1000) * 1000 * 1000};
        nanosleep(&pause, nullptr);
        return HighScoreIo::Write(fd, data, std::min(size, kSlowWriteBytes));
    }

  private:
    long pauseMs;
};

// What the game-over screen sees: name entry on, the name typed and confirmed, both flags off.
void TypeName(GameEngine& engine, const char* name) {
    engine.SetEntername();
    PushText(name);
    PushKey(SDLK_RETURN);
    RunUntilQueueEmpty(engine);
    engine.SetEntername();
    engine.SetNameentered();
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 && argc != 5) {
        return kBadArguments;
    }
    const int first = atoi(argv[2]);
    const int count = atoi(argv[3]);
    const long pauseMs = argc == 5 ? atol(argv[4]) : 0;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    GameEngine engine;
    UseFakeClock(engine);
    TypeName(engine, argv[1]);
    for (int score = first; score < first + count; ++score) {
        auto* screen = new StateAddScore(engine.GetAssets());
        screen->SetScore(score);
        if (pauseMs > 0) {
            screen->SetFileIo(std::make_unique<SlowIo>(pauseMs));
        }
        engine.SetState(screen);
        screen->KeyPressed(KeyEnter);
        const auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        if (list == nullptr) {
            return kNoList;
        }
        if (!list->GetNotice().empty()) {
            std::printf("%s\n", list->GetNotice().c_str());
        }
    }
    return 0;
}
