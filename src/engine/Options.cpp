#include "engine/Options.h"

#include "engine/Settings.h"
#include "net/ServerUrl.h"

namespace {
bool TakeScale(const std::string& value, Options& options) {
    options.scale = ScaleOfWord(value);
    return options.scale.has_value();
}

bool TakeSettings(const std::string& value, Options& options) {
    options.settingsPath = value;
    return !value.empty();
}

bool TakeReplay(const std::string& value, Options& options) {
    options.replayFile = value;
    return !value.empty();
}

bool TakeDataDir(const std::string& value, Options& options) {
    options.dataDir = value;
    return !value.empty();
}

bool TakeScoresServer(const std::string& value, Options& options) {
    std::string why;
    options.scoresServer = value;
    return net::ParseServerUrl(value, why).has_value();
}

// The options that take a value, as "--name VALUE" or "--name=VALUE", and what that value is.
struct ValueOption {
    const char* name;
    const char* takes;
    bool (*take)(const std::string& value, Options& options);
};
constexpr ValueOption kValueOptions[] = {
    {"--scale", "1 to 8 or auto", TakeScale},
    {"--settings", "a file", TakeSettings},
    {"--replay", "a file", TakeReplay},
    {"--data-dir", "a folder", TakeDataDir},
    {"--scores-server", "an http:// or https:// address", TakeScoresServer},
};

const ValueOption* FindValueOption(const std::string& name) {
    for (const ValueOption& option : kValueOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}
}  // namespace

bool ParseOptions(int argc, const char* const argv[], Options& options, std::string& error) {
    for (int index = 1; index < argc; ++index) {
        const std::string word = argv[index];
        if (word == "-h" || word == "--help") {
            options.help = true;
            continue;
        }
        if (word == "--version") {
            options.version = true;
            continue;
        }
        // Every word after it is a replay to prove.
        if (word == "--verify") {
            options.verifyFiles.assign(argv + index + 1, argv + argc);
            if (options.verifyFiles.empty()) {
                error = "--verify needs at least one file";
                return false;
            }
            return true;
        }
        const auto equals = word.find('=');
        const ValueOption* option = FindValueOption(word.substr(0, equals));
        if (option == nullptr) {
            error = "unknown option '" + word + "'";
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (index + 1 < argc) {
            value = argv[++index];
        }
        if (value.empty()) {
            error = std::string(option->name) + " needs " + option->takes;
            return false;
        }
        if (!option->take(value, options)) {
            error = std::string(option->name) + " takes " + option->takes + ", not '" + value + "'";
            return false;
        }
    }
    return true;
}

const char* Usage() {
    return "Usage: arcade-game [--scale N | --scale auto] [--settings FILE] [--replay FILE]\n"
           "                  [--data-dir DIR] [--scores-server URL] [--help | --version]\n"
           "       arcade-game --verify FILE...\n"
           "\n"
           "Arcade Game: move the cannon with the arrow keys, fire with Space and shoot down the\n"
           "airplanes before their bombs hit you.\n"
           "\n"
           "Options:\n"
           "  --scale N        show each pixel of the game as an N x N block (N from 1 to 8):\n"
           "                   a window of 640N x 480N\n"
           "  --scale auto     the largest scale whose window fits the desktop\n"
           "  --settings FILE  start with the scale, full screen and sound kept in FILE, and keep\n"
           "                   them there when they change; options given here win over it\n"
           "  --replay FILE    prove, then watch the game kept in FILE (Space: faster, Escape: "
           "stop)\n"
           "  --verify FILE... play each replay without a window and say whether it proves its\n"
           "                   points; the status is 0 only when all of them do\n"
           "  --data-dir DIR   read the pictures, sounds and font (arial.ttf) from DIR rather\n"
           "                   than from the working folder, which keeps the scores either way\n"
           "  --scores-server URL\n"
           "                   send each stored game to the shared high-score table at URL\n"
           "                   (http:// or https://; 'scores_server = URL' in the settings\n"
           "                   does the same) as its replay, to URL/api/scores: the keys of\n"
           "                   every frame, the name typed and the game's version, nothing\n"
           "                   else; and show that table on the high scores (Tab). Without\n"
           "                   one the game opens no network connection at all\n"
           "  -h, --help       show this and stop\n"
           "  --version        show the game's version and stop\n"
           "\n"
           "Keys:\n"
           "  Enter                  start a game; after it, confirm your name, go on, and\n"
           "                         store the score\n"
           "  Space                  fire; on the menu, show the high scores\n"
           "  R                      on the high scores, watch the best game kept (Space:\n"
           "                         faster, Escape: back to the scores)\n"
           "  Tab                    on the high scores, with a shared table named: this\n"
           "                         computer's list and the shared table in turn; R there\n"
           "                         watches the table's best game, once it proves here\n"
           "  Left, Right            move the cannon\n"
           "  BackSpace              rub out the last letter of your name\n"
           "  P                      pause in play, and play on\n"
           "  M                      sound off and on (not while typing your name)\n"
           "  F11 or Alt+Enter       full screen and back\n"
           "  Page Up                make the window a step larger (keypad + too)\n"
           "  Page Down              make the window a step smaller (keypad - too)\n"
           "  Escape                 quit (after a game, once your name is confirmed)\n"
           "\n"
           "A gamepad plugged in at the start works too: the D-pad or the left stick moves, the\n"
           "first button fires in play and is Enter elsewhere, the second shows the high scores,\n"
           "Start pauses.\n"
           "\n"
           "More keys to move and fire, besides the arrows and Space, go in the settings file as\n"
           "lines such as 'left = a', 'right = d' and 'fire = w' (a letter or digit each, one or\n"
           "more lines each); while you type your name they are letters of it. On a small screen\n"
           "full screen fills the height; 'fullscreen_scaling = whole' there keeps whole scales.\n";
}
