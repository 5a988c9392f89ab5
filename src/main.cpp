#include <cstdio>
#include <memory>
#include <string>

#include "engine/GameEngine.h"
#include "engine/Options.h"
#include "screens/StateMenu.h"

int main(int argc, char* argv[]) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "arcade-game: %s\n\n%s", error.c_str(), Usage());
        return 2;
    }
    if (options.help) {
        std::fputs(Usage(), stdout);
        return 0;
    }
    auto engine = std::make_unique<GameEngine>();
    engine->SetState(new StateMenu());
    engine->Loop();
    return 0;
}
