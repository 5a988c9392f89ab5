#pragma once

#include <optional>
#include <string>

#include "engine/DisplayRules.h"

// The player's choices that are kept from one run to the next.
struct Settings {
    int scale = display::kSmallestScale;  // or display::kAutoScale
    bool fullScreen = false;
    bool soundOn = true;

    bool operator==(const Settings& other) const {
        return scale == other.scale && fullScreen == other.fullScreen && soundOn == other.soundOn;
    }
};

// The file they are kept in: a few "name = value" lines that a person can read and edit.
class SettingsFile {
  public:
    explicit SettingsFile(std::string path) : path(std::move(path)) {}

    // The kept settings, or the defaults where the file is missing. An unreadable or garbled
    // file gives the defaults and one line on standard error, and stays as it is.
    Settings Read() const;
    // Replaces the file whole: a crash or a full disk leaves the old file or the new one, never
    // half of one. A failure is told on standard error once.
    void Write(const Settings& settings);

    const std::string& Path() const { return path; }

  private:
    std::string path;
    bool toldWriteFailure = false;
};

// "1" to "8", or "auto" for display::kAutoScale; nothing for any other word.
std::optional<int> ScaleOfWord(const std::string& word);
// The file's text for these settings.
std::string SettingsText(const Settings& settings);
// Reads a file's text over the defaults in settings; false, with the reason, when garbled.
bool ParseSettings(const std::string& text, Settings& settings, std::string& problem);
