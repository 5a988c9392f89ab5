#pragma once

#include <optional>
#include <string>
#include <vector>

// What the player asked for on the command line. The game started without options opens its
// 640 x 480 window and reads no settings, as it always has.
struct Options {
    bool help = false;
    bool version = false;
    // 1 to 8, or display::kAutoScale; none means the settings file's scale, else 1.
    std::optional<int> scale;
    // Where the player's settings are kept; empty keeps none.
    std::string settingsPath;
    // Replays to prove without a window (--verify FILE...), or one to watch (--replay FILE).
    std::vector<std::string> verifyFiles;
    std::string replayFile;
    // Where the pictures, sounds and font are read from; empty reads them from the working folder.
    std::string dataDir;
    // The shared table the player's games are sent to (an http or https address); empty sends
    // them nowhere, unless the settings name one.
    std::string scoresServer;
};

// Reads argv into options. A word it does not know, or a bad value, gives false and the reason
// in error.
bool ParseOptions(int argc, const char* const argv[], Options& options, std::string& error);

// The game's usage: its options and its keys.
const char* Usage();
