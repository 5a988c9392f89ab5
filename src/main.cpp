#include <memory>

#include "engine/GameEngine.h"
#include "screens/StateMenu.h"

int main(int /*argc*/, char* /*argv*/[]) {
    auto engine = std::make_unique<GameEngine>();
    engine->SetState(new StateMenu());
    engine->Loop();
    return 0;
}
