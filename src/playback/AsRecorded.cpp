#include "playback/AsRecorded.h"

#include "engine/GameEngine.h"
#include "screens/StateMenu.h"

namespace replay {

void StartAsRecorded(GameEngine& engine, const Replay& game) {
    engine.StartDrawsAfter(game.drawsBefore);
    engine.Names().Resume(game.nameBefore, game.drawsBefore > 0);
    engine.SetState(new StateMenu(engine.GetAssets()));
}

}  // namespace replay
