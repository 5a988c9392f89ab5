#include "replay/Shelf.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

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
// A line of the list that a stored game made, "05 points - Bo", gives the name its game is kept
// under, "5 points - Bo"; a line the game did not write gives none.
std::optional<std::string> KeptNameOf(const std::string& line) {
    const auto separator = line.find(kPointsSeparator);
    const auto points = PointsOf(line.substr(0, separator) + kPointsSeparator + kExtension);
    if (separator == std::string::npos || !points) {
        return std::nullopt;
    }
    const std::string name = line.substr(separator + std::string(kPointsSeparator).size());
    return std::to_string(*points) + kPointsSeparator + (name.empty() ? kNoName : name);
}

// A kept game's file, "5 points - Bo (2).replay", split into the name it is kept under and its
// copy number (1 for none); none for a file of another kind.
std::optional<std::pair<std::string, int>> CopyOf(const std::string& file) {
    if (!PointsOf(file)) {
        return std::nullopt;
    }
    std::string name = file.substr(0, file.size() - std::string(kExtension).size());
    int copy = 1;
    const auto open = name.rfind(" (");
    if (open != std::string::npos && name.back() == ')') {
        const std::string digits = name.substr(open + 2, name.size() - open - 3);
        if (digits.empty() || digits.size() > 4 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        copy = std::atoi(digits.c_str());
        name.erase(open);
    }
    return std::make_pair(name, copy);
}

// Each of bestLines keeps one game of its name; a line the list holds twice keeps two. Of more
// games of one name than the list holds lines for, the lowest copies stay.
void ForgetOlderGames(const std::vector<std::string>& bestLines) {
    if (bestLines.empty()) {
        return;
    }
    std::map<std::string, std::size_t> allowed;
    for (std::size_t i = 0; i < bestLines.size() && i < shelf::kMostKept; ++i) {
        if (const auto name = KeptNameOf(bestLines[i])) {
            ++allowed[*name];
        }
    }
    std::map<std::string, std::vector<std::pair<int, fs::path>>> kept;
    std::error_code unreadable;
    for (fs::directory_iterator entry(shelf::kFolder, unreadable), end; !unreadable && entry != end;
         entry.increment(unreadable)) {
        std::error_code unknown;
        const auto copy = CopyOf(entry->path().filename().string());
        if (copy && entry->symlink_status(unknown).type() == fs::file_type::regular) {
            kept[copy->first].emplace_back(copy->second, entry->path());
        }
    }
    for (auto& [name, copies] : kept) {
        std::sort(copies.begin(), copies.end());
        const std::size_t stay = allowed.count(name) != 0 ? allowed[name] : 0;
        for (std::size_t i = stay; i < copies.size(); ++i) {
            std::error_code ignored;
            fs::remove(copies[i].second, ignored);
        }
    }
}
}  // namespace

bool KeepReplay(const Replay& game, const std::vector<std::string>& bestLines, std::string& error) {
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
        ForgetOlderGames(bestLines);
        return true;
    }
    error = std::string("cannot keep another replay of the same name in ") + shelf::kFolder;
    return false;
}

std::vector<std::string> KeptReplaysBestFirst() {
    std::vector<std::pair<unsigned long, std::string>> kept;
    std::error_code unreadable;
    for (fs::directory_iterator entry(shelf::kFolder, unreadable), end; !unreadable && entry != end;
         entry.increment(unreadable)) {
        if (const auto points = PointsOf(entry->path().filename().string())) {
            kept.emplace_back(*points, entry->path().string());
        }
    }
    std::sort(kept.begin(), kept.end(), [](const auto& one, const auto& other) {
        return one.first != other.first ? one.first > other.first : one.second < other.second;
    });
    std::vector<std::string> paths;
    paths.reserve(kept.size());
    for (auto& one : kept) {
        paths.push_back(std::move(one.second));
    }
    return paths;
}

}  // namespace replay
