#include "playback/StoreCatcher.h"

#include "engine/GameEngine.h"
#include "engine/GameKey.h"
#include "screens/StateShowScore.h"

namespace replay {

void StoreCatcher::KeyPressed(int key) {
    if (key != KeyEnter || outcome.done) {
        return;
    }
    GetEngine()->SetName();
    outcome = {true, points, GetName()};
    if (showList) {
        PlaySound(Effect::Select);
        // This screen is gone after the switch.
        GetEngine()->SetState(new StateShowScore(assets));
    }
}

void CatchStore(GameEngine& engine, Stored& outcome, bool showList) {
    auto* addScore = dynamic_cast<StateAddScore*>(engine.GetState());
    if (addScore != nullptr && dynamic_cast<StoreCatcher*>(addScore) == nullptr) {
        engine.SetState(
            new StoreCatcher(engine.GetAssets(), addScore->GetScore(), outcome, showList));
    }
}

}  // namespace replay
