#include "Playing.h"

#include <filesystem>

#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "playback/AsRecorded.h"
#include "playback/ReplayInput.h"
#include "replay/Shelf.h"
#include "replay/TakenEvent.h"
#include "screens/StateGameOver.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {
constexpr int kStoringReturns = 3;  // confirm the name, go on, store the score
}  // namespace

std::string PlayOne(const std::function<std::unique_ptr<FrameInput>(GameEngine&)>& player,
                    int frames) {
    GameEngine engine{GameEngine::Headless{}};
    engine.Records().SetOn(true);
    engine.SetInput(player(engine));
    engine.SetState(new StateMenu(engine.GetAssets()));
    for (int frame = 0; frame < frames; ++frame) {
        engine.RunFrame();
        if (dynamic_cast<StateShowScore*>(engine.GetState()) != nullptr) {
            const std::string bytes = ReadWholeFile(replay::shelf::kLastGame);
            // The next game starts from an empty list and shelf.
            std::error_code ignored;
            std::filesystem::remove("highscore.txt", ignored);
            std::filesystem::remove_all(replay::shelf::kFolder, ignored);
            return bytes;
        }
    }
    return std::string();
}

bool TypingName::Next(SDL_Event& event) {
    if (typed < name.size()) {
        const auto c = static_cast<unsigned char>(name[typed++]);
        event = KeyDown(static_cast<SDLKey>(c), c);
        return true;
    }
    if (returns < kStoringReturns) {
        ++returns;
        event = KeyDown(SDLK_RETURN, '\r');
        return true;
    }
    return false;
}

bool FollowingPlayer::NextEvent(SDL_Event& event) {
    // The game-over screen's Enter switches name entry off again: the storing goes on.
    naming = naming || engine.Names().On();
    if (!naming) {
        return next < frames.size() && replay::EventFrom(frames[next++], event);
    }
    return typing.Next(event);
}

HeldWays FollowingPlayer::Held(Gamepad* /*pad*/, const KeyBindings* /*bound*/) {
    if (naming || next == 0 || next > frames.size()) {
        return {};
    }
    return {frames[next - 1].left, frames[next - 1].right};
}

std::vector<bool> FramesOfPlay(const replay::Replay& game, int& points) {
    GameEngine engine{GameEngine::Headless{}};
    engine.SetInput(std::make_unique<replay::ReplayInput>(game.frames));
    replay::StartAsRecorded(engine, game);
    std::vector<bool> playing;
    points = -1;
    for (std::size_t frame = 0; frame < game.frames.size(); ++frame) {
        // Its inputs are play's when it begins in play: the frame that ends the game too.
        playing.push_back(dynamic_cast<const StatePlay*>(engine.GetState()) != nullptr &&
                          !engine.Paused());
        engine.RunFrame();
        if (const auto* over = dynamic_cast<const StateGameOver*>(engine.GetState())) {
            points = over->GetScore();
            break;
        }
    }
    playing.resize(game.frames.size(), false);
    return playing;
}
