#include "engine/Settings.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "net/ServerUrl.h"
#include "report/Counted.h"
#include "storage/DurableFile.h"
#include "storage/RegularFile.h"

namespace {
// A settings file is a few short lines: anything far longer is not one.
constexpr std::size_t kLongestFile = 4096;
// Some editors begin a UTF-8 file with these bytes; they are no part of the first line.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkSize = sizeof kByteOrderMark - 1;
// A file of garbage is named by its first few lines: enough to find them, not a screenful.
constexpr std::size_t kMostLinesNamed = 5;
constexpr std::size_t kLongestLineNamed = 40;

// Case aside; a byte 0 in the file's word is no end of it.
bool SameWord(const std::string& word, const char* known) {
    return word.size() == std::strlen(known) && strncasecmp(word.data(), known, word.size()) == 0;
}

bool ReadScale(const std::string& value, Settings& settings) {
    const auto scale = ScaleOfWord(value);
    settings.scale = scale.value_or(settings.scale);
    return scale.has_value();
}
std::string WriteScale(const Settings& settings) {
    return settings.scale == display::kAutoScale ? "auto" : std::to_string(settings.scale);
}

bool ReadFullScreen(const std::string& value, Settings& settings) {
    if (SameWord(value, "yes") || SameWord(value, "no")) {
        settings.fullScreen = SameWord(value, "yes");
        return true;
    }
    return false;
}

// Each line binds one more key: "left = a" and "left = j" both move left.
bool ReadKey(const std::string& value, std::vector<SDLKey>& keys) {
    const auto key = KeyOfWord(value);
    if (key) {
        keys.push_back(*key);
    }
    return key.has_value();
}
bool ReadLeft(const std::string& value, Settings& settings) {
    return ReadKey(value, settings.keys.left);
}
bool ReadRight(const std::string& value, Settings& settings) {
    return ReadKey(value, settings.keys.right);
}
bool ReadFire(const std::string& value, Settings& settings) {
    return ReadKey(value, settings.keys.fire);
}
std::string WriteFullScreen(const Settings& settings) {
    return settings.fullScreen ? "yes" : "no";
}

bool ReadSound(const std::string& value, Settings& settings) {
    if (SameWord(value, "on") || SameWord(value, "off")) {
        settings.soundOn = SameWord(value, "on");
        return true;
    }
    return false;
}
std::string WriteSound(const Settings& settings) {
    return settings.soundOn ? "on" : "off";
}

bool ReadFullScreenScaling(const std::string& value, Settings& settings) {
    if (SameWord(value, "whole") || SameWord(value, "sharp")) {
        settings.fullScreenWholeScales = SameWord(value, "whole");
        return true;
    }
    return false;
}

bool ReadScoresServer(const std::string& value, Settings& settings) {
    std::string why;
    if (!net::ParseServerUrl(value, why)) {
        return false;
    }
    settings.scoresServer = value;
    return true;
}

// Every setting the file may hold, one entry each. To add a setting, give Settings its field (and
// compare it in operator==), then add one entry here:
//   name   as written in the file, in lower case (the player's case does not matter);
//   values what the player may write, for the head of a new file;
//   read   takes the value (spaces around it trimmed, case as written) into settings; false for
//          a value it does not take, and the line is then named and skipped. A setting may be
//          given on several lines (more keys for one move, say): read is called for each.
//   write  the value as the file holds it, for a setting the game itself changes while it runs
//          (the keys for scale, full screen, sound): a rewrite puts it into the setting's lines,
//          or adds a line at the end. nullptr for a setting only the player sets: its lines are
//          then kept as written, like comments.
struct SettingKey {
    const char* name;
    const char* values;
    bool (*read)(const std::string& value, Settings& settings);
    std::string (*write)(const Settings& settings);
};
constexpr SettingKey kSettingKeys[] = {
    {"scale", "1 to 8, or auto (as large as fits the desktop)", ReadScale, WriteScale},
    {"fullscreen", "yes or no", ReadFullScreen, WriteFullScreen},
    {"sound", "on or off", ReadSound, WriteSound},
    {"fullscreen_scaling", "sharp (fills a small screen's height) or whole (whole scales only)",
     ReadFullScreenScaling, nullptr},
    {"left", "a letter or digit that moves left too, besides the left arrow", ReadLeft, nullptr},
    {"right", "a letter or digit that moves right too, besides the right arrow", ReadRight,
     nullptr},
    {"fire", "a letter or digit that fires too, besides Space", ReadFire, nullptr},
    {"scores_server", "the http:// or https:// address of a shared table to send each game to",
     ReadScoresServer, nullptr},
};

std::string Header() {
    std::string header =
        "# Arcade Game's settings. Edit them as you like: the game puts in only the values you\n"
        "# change with its keys, and keeps every other line.\n";
    for (const SettingKey& key : kSettingKeys) {
        header += std::string("# ") + key.name + ": " + key.values + "\n";
    }
    return header;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The file's lines without their line feeds; a last line without one is a line all the same.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start =
        text.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0 ? kByteOrderMarkSize : 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A "name = value" line split, or false for a comment, a blank line or no such line at all.
bool SplitSetting(const std::string& line, std::string& name, std::string& value) {
    const std::string content = Trimmed(line);
    const auto equals = content.find('=');
    if (content.empty() || content[0] == '#' || equals == std::string::npos) {
        return false;
    }
    name = Trimmed(content.substr(0, equals));
    value = Trimmed(content.substr(equals + 1));
    return true;
}

const SettingKey* FindKey(const std::string& name) {
    for (const SettingKey& key : kSettingKeys) {
        if (SameWord(name, key.name)) {
            return &key;
        }
    }
    return nullptr;
}

// A line as the terminal can show it: no control characters to play tricks, and not too long.
std::string Shown(const std::string& line) {
    std::string shown;
    for (const char c : line.substr(0, kLongestLineNamed)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte >= 0x20 && byte < 0x7f ? c : '?';
    }
    return line.size() > kLongestLineNamed ? shown + "..." : shown;
}

void TellReadProblem(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "arcade-game: %s: %s; playing with the default settings\n", path.c_str(),
                 problem.c_str());
}

void TellSkipped(const std::string& path, const std::vector<SkippedLine>& skipped) {
    for (std::size_t i = 0; i < skipped.size() && i < kMostLinesNamed; ++i) {
        std::fprintf(stderr, "arcade-game: %s: line %d skipped (%s): %s\n", path.c_str(),
                     skipped[i].number, skipped[i].why.c_str(), skipped[i].text.c_str());
    }
    if (skipped.size() > kMostLinesNamed) {
        const std::string more =
            Counted(skipped.size() - kMostLinesNamed, "more line", "more lines");
        std::fprintf(stderr, "arcade-game: %s: %s skipped\n", path.c_str(), more.c_str());
    }
}

// What reading the file came to: its text, no file there, or a reason it cannot be taken.
enum class FileRead { Whole, Missing, Refused };

FileRead ReadText(const std::string& path, std::string& text, std::string& problem) {
    int error = 0;
    switch (storage::ReadRegularFile(path, kLongestFile, text, error)) {
        case storage::ReadResult::Whole:
            return FileRead::Whole;
        case storage::ReadResult::Missing:
            return FileRead::Missing;
        case storage::ReadResult::NotRegular:
            problem = "not a regular file";
            break;
        case storage::ReadResult::TooLarge:
            problem = "far too long for a settings file";
            break;
        case storage::ReadResult::Failed:
            problem = std::strerror(error);
            break;
    }
    return FileRead::Refused;
}

// The folders above the file, made as needed: ~/.config itself may not exist yet.
bool MakeFolders(const std::string& path) {
    for (auto slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (mkdir(path.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> ScaleOfWord(const std::string& word) {
    if (SameWord(word, "auto")) {
        return display::kAutoScale;
    }
    // One digit: leading zeros, signs and spaces are not a scale.
    if (word.size() == 1 && word[0] >= '0' + display::kSmallestScale &&
        word[0] <= '0' + display::kLargestScale) {
        return word[0] - '0';
    }
    return std::nullopt;
}

void ParseSettings(const std::string& text, Settings& settings, std::vector<SkippedLine>& skipped) {
    const std::vector<std::string> lines = LinesOf(text);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        std::string name;
        std::string value;
        std::string why;
        if (!SplitSetting(line, name, value)) {
            const std::string content = Trimmed(line);
            if (content.empty() || content[0] == '#') {
                continue;
            }
            why = "not a 'name = value' line";
        } else if (const SettingKey* key = FindKey(name)) {
            if (key->read(value, settings)) {
                continue;
            }
            why = std::string(key->name) + " takes " + key->values;
        } else {
            why = "no setting of that name";
        }
        skipped.push_back({static_cast<int>(index + 1), Shown(Trimmed(line)), why});
    }
}

std::string RewriteSettings(const std::string& old, const Settings& settings) {
    const std::vector<std::string> lines = LinesOf(old);
    std::string text = old.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0
                           ? std::string(kByteOrderMark)
                           : std::string();
    if (lines.empty()) {
        text += Header();
    }
    bool written[std::size(kSettingKeys)] = {};
    for (const std::string& line : lines) {
        std::string name;
        std::string value;
        const SettingKey* key = SplitSetting(line, name, value) ? FindKey(name) : nullptr;
        if (key == nullptr || key->write == nullptr) {
            text += line + "\n";
            continue;
        }
        written[key - kSettingKeys] = true;
        // A line ended for another system keeps its ending.
        const bool carriageReturn = !line.empty() && line.back() == '\r';
        text += std::string(key->name) + " = " + key->write(settings) +
                (carriageReturn ? "\r\n" : "\n");
    }
    for (std::size_t i = 0; i < std::size(kSettingKeys); ++i) {
        if (!written[i] && kSettingKeys[i].write != nullptr) {
            text +=
                std::string(kSettingKeys[i].name) + " = " + kSettingKeys[i].write(settings) + "\n";
        }
    }
    return text;
}

Settings SettingsFile::Read() const {
    std::string text;
    std::string problem;
    Settings settings;
    switch (ReadText(path, text, problem)) {
        case FileRead::Missing:
            break;
        case FileRead::Refused:
            TellReadProblem(path, problem);
            break;
        case FileRead::Whole: {
            std::vector<SkippedLine> skipped;
            ParseSettings(text, settings, skipped);
            TellSkipped(path, skipped);
            break;
        }
    }
    return settings;
}

void SettingsFile::Write(const Settings& settings) {
    std::string old;
    std::string problem;
    if (ReadText(path, old, problem) == FileRead::Refused) {
        problem += ", so it is left as it is";
    } else if (!MakeFolders(path)) {
        problem = std::strerror(errno);
    } else if (storage::WriteFault fault;
               !storage::WriteWhole(path, RewriteSettings(old, settings), *calls, fault)) {
        problem = std::strerror(fault.error);
    }
    if (!problem.empty() && !toldWriteFailure) {
        std::fprintf(stderr, "arcade-game: cannot keep the settings in %s: %s\n", path.c_str(),
                     problem.c_str());
        toldWriteFailure = true;
    }
}
