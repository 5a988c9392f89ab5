#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/DisplayRules.h"
#include "engine/KeyBindings.h"
#include "storage/FileCalls.h"

// The player's choices that are kept from one run to the next.
struct Settings {
    int scale = display::kSmallestScale;  // or display::kAutoScale
    bool fullScreen = false;
    bool soundOn = true;
    // Only the player sets these; the game never writes them, so they are not compared.
    bool fullScreenWholeScales = false;  // full screen keeps to whole scales on a small screen
    KeyBindings keys{};                  // more keys to move and fire
    std::string scoresServer{};          // the shared table games are sent to; empty for none

    bool operator==(const Settings& other) const {
        return scale == other.scale && fullScreen == other.fullScreen && soundOn == other.soundOn;
    }
};

// The file they are kept in: "name = value" lines that a person can read and edit. A line the
// game does not understand is named on standard error and skipped; every other line still counts.
class SettingsFile {
  public:
    // calls are the system's own but in tests, which fail or watch them.
    explicit SettingsFile(std::string path, std::unique_ptr<storage::FileCalls> calls =
                                                std::make_unique<storage::FileCalls>())
        : path(std::move(path)), calls(std::move(calls)) {}

    // The kept settings over the defaults; the defaults alone where the file is missing. A file
    // that cannot be read (not a regular file, unreadable, far too long) gives the defaults and
    // one line on standard error; each line skipped is named there once.
    Settings Read() const;
    // Puts settings into the file: the lines of the settings the game changes get their new
    // values where they stand, and every other line (comments, settings the game only reads,
    // lines it does not understand) stays as the player wrote it. The file is replaced whole, so
    // a crash or a full disk leaves the old file or the new one. A file that could not be read is
    // left alone rather than replaced by one without the player's lines. A failure is told on
    // standard error once.
    void Write(const Settings& settings);

    const std::string& Path() const { return path; }

  private:
    std::string path;
    std::unique_ptr<storage::FileCalls> calls;
    bool toldWriteFailure = false;
};

// "1" to "8", or "auto" for display::kAutoScale; nothing for any other word.
std::optional<int> ScaleOfWord(const std::string& word);

// A line of a settings file that was skipped, and why, for the player to mend.
struct SkippedLine {
    int number = 0;    // from 1
    std::string text;  // as it stands, cut short and with what cannot be shown replaced
    std::string why;
};
// Reads a file's text over the settings given (the defaults, usually): every line understood is
// applied, in order, so that a later line wins; every other line is added to skipped.
void ParseSettings(const std::string& text, Settings& settings, std::vector<SkippedLine>& skipped);
// The file's text with settings put in: old is the file as it stands (empty for a new file).
std::string RewriteSettings(const std::string& old, const Settings& settings);
