#include "support/HighScores.h"

#include <algorithm>
#include <filesystem>

#include "engine/GameEngine.h"
#include "scores/Ranking.h"
#include "screens/StateAddScore.h"
#include "support/Frames.h"

void ConfirmName(GameEngine& engine, const std::string& name) {
    engine.SetEntername();
    for (std::size_t i = engine.Names().Name().size(); i > 0; --i) {
        PushKey(SDLK_BACKSPACE, '\b');
    }
    PushText(name.c_str());
    PushKey(SDLK_RETURN, '\r');
    RunUntilQueueEmpty(engine);
    engine.SetEntername();
    engine.SetNameentered();
}

void StoreScore(GameEngine& engine, int score) {
    auto* screen = new StateAddScore(engine.GetAssets());
    screen->SetScore(score);
    engine.SetState(screen);
    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < content.size()) {
        const std::string::size_type feed = content.find('\n', start);
        if (feed == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, feed - start));
        start = feed + 1;
    }
    return lines;
}

std::string FileOf(std::vector<std::string> entries) {
    std::sort(entries.begin(), entries.end(), RanksBelow);
    std::reverse(entries.begin(), entries.end());
    std::string content;
    for (const auto& entry : entries) {
        content += entry + "\n";
    }
    return content;
}

std::vector<std::string> NotSavedLines(const std::string& said) {
    std::vector<std::string> lines;
    for (const auto& line : SplitLines(said)) {
        if (line.find("score not saved") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> Leftovers(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".highscore.txt.", 0) == 0) {
            names.push_back(name);
        }
    }
    return names;
}
