#include "server/PostCheck.h"

#include "replay/ReplayFile.h"
#include "scores/LongestName.h"
#include "scores/TypeableName.h"
#include "server/ServerLimits.h"

namespace server {
namespace {
constexpr int kNotAReplay = 400;
constexpr int kUnplayable = 422;
}  // namespace

bool CheckPosted(const std::string& body, replay::Replay& game, Refusal& refusal) {
    std::string error;
    if (!replay::Decode(body, game, error)) {
        const std::string said = "not a replay";
        refusal = {kNotAReplay,
                   error.compare(0, said.size(), said) == 0 ? error : said + ": " + error};
        return false;
    }
    // A replay starts from the name left by the game before it, which typing then edits: a name
    // nobody could type (markup, a line break, a name too long) would otherwise be proven too.
    if (!CouldBeTyped(game.name) || !CouldBeTyped(game.nameBefore)) {
        refusal = {kUnplayable,
                   "the replay's name is not one the game lets a player type (letters, digits "
                   "and spaces, at most " +
                       std::to_string(kLongestName) + ")"};
        return false;
    }
    // The game's own list takes a line without a name; the shared table says whose each one is.
    if (WithoutTrailingSpaces(game.name).empty()) {
        refusal = {kUnplayable, "a score on the shared table needs a name"};
        return false;
    }
    if (game.frames.size() > limits::kMostPostedFrames) {
        refusal = {kUnplayable, "the replay is longer than an hour of play (" +
                                    std::to_string(game.frames.size()) + " frames)"};
        return false;
    }
    return true;
}

int FurtherPostsCharged(std::size_t frames) {
    return frames == 0 ? 0 : static_cast<int>((frames - 1) / limits::kFramesAPostPaysFor);
}

}  // namespace server
