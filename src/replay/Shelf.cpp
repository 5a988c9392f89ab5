#include "replay/Shelf.h"

#include <cstdlib>
#include <filesystem>

#include "replay/ReplayFile.h"

namespace replay {
namespace {
namespace fs = std::filesystem;

constexpr const char* kPointsSeparator = " points - ";
constexpr const char* kExtension = ".replay";
constexpr const char* kNoName = "no name";
// Another game of the same player and points gets a number: "... - Anna (2).replay".
constexpr int kMostSameNames = 1000;

std::string StoredName(const Replay& game, int copy) {
    std::string name = std::to_string(game.points) + kPointsSeparator +
                       (game.name.empty() ? std::string(kNoName) : game.name);
    if (copy > 1) {
        name += " (" + std::to_string(copy) + ")";
    }
    return name + kExtension;
}

// The points a kept replay's file name begins with; none for a file of another kind.
std::optional<unsigned long> PointsOf(const std::string& file) {
    const auto separator = file.find(kPointsSeparator);
    const std::string extension = kExtension;
    if (separator == 0 || separator == std::string::npos || file.size() < extension.size() ||
        file.compare(file.size() - extension.size(), extension.size(), extension) != 0) {
        return std::nullopt;
    }
    const std::string digits = file.substr(0, separator);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) {
        return std::nullopt;
    }
    return std::strtoul(digits.c_str(), nullptr, 10);
}
}  // namespace

bool KeepReplay(const Replay& game, std::string& error) {
    if (!Save(shelf::kLastGame, game, error)) {
        error = std::string("cannot keep ") + shelf::kLastGame + ": " + error;
        return false;
    }
    std::error_code made;
    fs::create_directory(shelf::kFolder, made);
    for (int copy = 1; copy <= kMostSameNames; ++copy) {
        const fs::path path = fs::path(shelf::kFolder) / StoredName(game, copy);
        std::error_code unknown;
        if (fs::exists(path, unknown)) {
            continue;
        }
        if (!Save(path.string(), game, error)) {
            error = "cannot keep " + path.string() + ": " + error;
            return false;
        }
        return true;
    }
    error = std::string("cannot keep another replay of the same name in ") + shelf::kFolder;
    return false;
}

std::optional<std::string> BestReplay() {
    std::optional<std::string> best;
    unsigned long bestPoints = 0;
    std::error_code unreadable;
    for (fs::directory_iterator entry(shelf::kFolder, unreadable), end; !unreadable && entry != end;
         entry.increment(unreadable)) {
        const auto points = PointsOf(entry->path().filename().string());
        if (points && (!best || *points > bestPoints ||
                       (*points == bestPoints && entry->path().string() < *best))) {
            best = entry->path().string();
            bestPoints = *points;
        }
    }
    return best;
}

}  // namespace replay
