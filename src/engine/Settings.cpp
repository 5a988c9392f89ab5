#include "engine/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {
constexpr const char* kHeader =
    "# Arcade Game's settings, kept by the game whenever one changes.\n"
    "# scale: 1 to 8, or auto (as large as fits the desktop); fullscreen: yes or no;"
    " sound: on or off\n";
// A settings file is a few short lines: anything far longer is not one.
constexpr std::size_t kLongestFile = 4096;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ReadSetting(const std::string& name, const std::string& value, Settings& settings) {
    if (name == "scale") {
        const auto scale = ScaleOfWord(value);
        settings.scale = scale.value_or(settings.scale);
        return scale.has_value();
    }
    if (name == "fullscreen" && (value == "yes" || value == "no")) {
        settings.fullScreen = value == "yes";
        return true;
    }
    if (name == "sound" && (value == "on" || value == "off")) {
        settings.soundOn = value == "on";
        return true;
    }
    return false;
}

void TellReadProblem(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "arcade-game: %s: %s; playing with the default settings\n", path.c_str(),
                 problem.c_str());
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

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes a new file beside the old one and renames it over it. 0 or the system's error.
int ReplaceWhole(const std::string& path, const std::string& text) {
    if (!MakeFolders(path)) {
        return errno;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    if (fchmod(fd, 0644) != 0 || !WriteAll(fd, text) || fsync(fd) != 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    // The rename itself lasts only once the folder is on the disk.
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return 0;
}
}  // namespace

std::optional<int> ScaleOfWord(const std::string& word) {
    if (word == "auto") {
        return display::kAutoScale;
    }
    // One digit: leading zeros, signs and spaces are not a scale.
    if (word.size() == 1 && word[0] >= '0' + display::kSmallestScale &&
        word[0] <= '0' + display::kLargestScale) {
        return word[0] - '0';
    }
    return std::nullopt;
}

std::string SettingsText(const Settings& settings) {
    std::ostringstream text;
    text << kHeader << "scale = ";
    if (settings.scale == display::kAutoScale) {
        text << "auto";
    } else {
        text << settings.scale;
    }
    text << "\nfullscreen = " << (settings.fullScreen ? "yes" : "no")
         << "\nsound = " << (settings.soundOn ? "on" : "off") << "\n";
    return text.str();
}

bool ParseSettings(const std::string& text, Settings& settings, std::string& problem) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = Trimmed(line);
        if (content.empty() || content[0] == '#') {
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string::npos ||
            !ReadSetting(Trimmed(content.substr(0, equals)), Trimmed(content.substr(equals + 1)),
                         settings)) {
            problem = "line " + std::to_string(number) + " is not a setting";
            return false;
        }
    }
    return true;
}

Settings SettingsFile::Read() const {
    // Non-blocking, so that a pipe put in the file's place cannot hang the start.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            TellReadProblem(path, std::strerror(errno));
        }
        return {};
    }
    struct stat status {};
    std::string text;
    std::string problem;
    if (fstat(fd, &status) != 0) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        problem = "not a regular file";
    } else {
        char buffer[kLongestFile + 1];
        ssize_t got = 0;
        while (text.size() <= kLongestFile && (got = read(fd, buffer, sizeof buffer)) != 0) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                problem = std::strerror(errno);
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
        }
        if (problem.empty() && text.size() > kLongestFile) {
            problem = "far too long for a settings file";
        }
    }
    close(fd);
    Settings settings;
    if (problem.empty() && ParseSettings(text, settings, problem)) {
        return settings;
    }
    TellReadProblem(path, problem);
    return {};
}

void SettingsFile::Write(const Settings& settings) {
    const int error = ReplaceWhole(path, SettingsText(settings));
    if (error != 0 && !toldWriteFailure) {
        std::fprintf(stderr, "arcade-game: cannot keep the settings in %s: %s\n", path.c_str(),
                     std::strerror(error));
        toldWriteFailure = true;
    }
}
