#include "playback/Prover.h"

#include <memory>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/GameKey.h"
#include "play/StatePlay.h"
#include "playback/AsRecorded.h"
#include "playback/PlayDigest.h"
#include "playback/PlayFingerprint.h"
#include "playback/ReplayInput.h"
#include "playback/StoreCatcher.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "report/Counted.h"
#include "scores/TypeableName.h"

namespace replay {
namespace {

std::string At(std::size_t frame) {
    return " at frame " + std::to_string(frame);
}

Verdict Refuse(std::string why) {
    return {false, std::move(why), std::string(), std::string()};
}

}  // namespace

Verdict Prove(const Replay& game, Keep keep) {
    if (game.gameVersion != GameVersion()) {
        return Refuse("recorded by version " + game.gameVersion + " of the game; this is " +
                      GameVersion());
    }
    // Outlives the engine, whose catcher of the store refers to it to the end.
    Stored stored;
    GameEngine engine{GameEngine::Headless{}};
    auto input = std::make_unique<ReplayInput>(game.frames);
    const ReplayInput& fed = *input;
    engine.SetInput(std::move(input));
    StartAsRecorded(engine, game);

    PlayDigest digest(game.drawsBefore);
    PlayFingerprint fingerprint(game.drawsBefore);
    std::vector<int> field;
    const std::size_t last = game.frames.size();
    for (std::size_t frame = 1; frame <= last; ++frame) {
        // Storing is left out: the score file is no business of a proof.
        CatchStore(engine, stored, false);
        engine.RunFrame();
        if (frame == 1 && (engine.GetState() == nullptr || !engine.GetState()->Pausable())) {
            return Refuse("does not start a game in its first frame");
        }
        if (fed.FirstUnreadHeld() != 0) {
            return Refuse("holds an arrow where the game reads none (paused)" +
                          At(fed.FirstUnreadHeld()));
        }
        if (engine.QuitRequested()) {
            return Refuse("ends the game (Escape or the window closed)" + At(frame));
        }
        // Only frames that moved the field on: a paused one adds nothing.
        const auto* play =
            keep == Keep::Digest ? dynamic_cast<const StatePlay*>(engine.GetState()) : nullptr;
        if (play != nullptr && !engine.Paused()) {
            play->WriteField(field);
            digest.AddField(field);
            fingerprint.AddField(field);
        }
        if (stored.done) {
            if (frame != last) {
                return Refuse("stores its score" + At(frame) + " but goes on to frame " +
                              std::to_string(last));
            }
            if (stored.points != static_cast<int>(game.points)) {
                return Refuse("its frames make " + Counted(stored.points, "point", "points") +
                              ", not " + std::to_string(game.points) + At(frame));
            }
            // Names were once kept with the spaces typed after them, which confirming now drops:
            // a game kept then still proves under the name it was stored with.
            if (stored.name != WithoutTrailingSpaces(game.name)) {
                return Refuse("its frames type the name \"" + stored.name + "\", not \"" +
                              game.name + "\"" + At(frame));
            }
            return {true, std::string(), digest.Hex(), fingerprint.Bytes()};
        }
    }
    return Refuse("ends without storing a score" + At(last));
}

std::string ProveFile(const std::string& path, bool& proven) {
    Replay game;
    std::string error;
    proven = false;
    if (!Load(path, game, error)) {
        return path + ": not proven: " + error;
    }
    const Verdict verdict = Prove(game, Keep::VerdictOnly);
    proven = verdict.proven;
    return path + ": " + Counted(game.points, "point", "points") + ", " +
           Counted(game.frames.size(), "frame", "frames") + ", \"" + game.name +
           "\": " + (verdict.proven ? "proven" : "not proven: " + verdict.why);
}

}  // namespace replay
