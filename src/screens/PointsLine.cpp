#include "screens/PointsLine.h"

#include <string>

#include "engine/DisplayRules.h"
#include "engine/ScreenEngine.h"

void PointsLine::Draw(SDL_Surface* screen, const ScreenEngine* engine, int points) {
    if (!made && engine != nullptr) {
        made = true;
        if (engine->PlayersSettingsInUse()) {
            const std::string line = std::to_string(points) + (points == 1 ? " point" : " points");
            text = std::make_unique<Text>(assets);
            text->SetPos((display::kFrameWidth - text->WidthOf(line.c_str())) / 2, y);
            text->Render(line.c_str());
        }
    }
    if (text != nullptr) {
        text->Draw(screen);
    }
}
