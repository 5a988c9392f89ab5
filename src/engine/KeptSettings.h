#pragma once

#include <memory>
#include <string>

#include "engine/Settings.h"

// The player's settings from one run to the next: read once as the game starts, written again
// whenever one of them changes. A game started without a settings file keeps none.
class KeptSettings {
  public:
    // path empty: nothing is read or kept.
    explicit KeptSettings(const std::string& path);

    // The settings as the file holds them; the defaults without a file.
    const Settings& Read() const { return kept; }
    // The settings as they stand now, from the first frame on.
    void Start(const Settings& now) { kept = now; }
    // Writes them when one has changed since the last write. A key that changed nothing (a full
    // screen refused) leaves even a garbled file alone.
    void Keep(const Settings& now);
    bool InUse() const { return file != nullptr; }

  private:
    std::unique_ptr<SettingsFile> file;  // null when the player keeps no settings
    Settings kept;
};
