// Draws the two screens with the most text, the full high-score list and the game-over screen with
// a name being typed, and writes each frame as a picture (list.ppm, name.ppm) into the folder it is
// given, which holds the game's pictures and font. Built for the desktop and for the browser, so
// that text_test.py can hold the browser's frames against the desktop's pixel by pixel.
//
// usage: arcade-text-frames FOLDER
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/GameEngine.h"
#include "screens/StateGameOver.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {
// Twenty-eight rows and two more: names with the font's kerned pairs, letters beyond ASCII,
// names too long for their column, and scores of every width.
constexpr const char* kList[] = {"223 points - AVA WAVE Tyler",
                                 "200 points - Ann B",
                                 "187 points - LTA Yvonne",
                                 "150 points - Zoe Fjord",
                                 "149 points - \xc5sa \xd8rsted",
                                 "120 points - Wally Vo",
                                 "111 points - Jo\xebl Fa\xefza",
                                 "100 points - 1234567890",
                                 "99 points - WWWWWWWWWWWWWWWWW",
                                 "98 points - iiiiiiiiiiiiiiiii",
                                 "90 points - To Av Ty",
                                 "88 points - Pyjama Quixote",
                                 "77 points - r.v.",
                                 "70 points - Kay Lyf",
                                 "66 points - X",
                                 "60 points - Fox Ave",
                                 "55 points - \xc6lfric",
                                 "50 points - Vera Wyatt",
                                 "44 points - gjpqy",
                                 "40 points - 7 7 7",
                                 "33 points - Tf Tj",
                                 "30 points - \xdf\xe9\xe8\xea",
                                 "22 points - Mmm Nnn",
                                 "20 points - LY LV LW",
                                 "11 points - a",
                                 "10 points - Ugo PA",
                                 "5 points - ff fi fl",
                                 "2 points - Y.",
                                 "1 points - left out",
                                 "0 points - left out too"};
constexpr const char* kTypedName = "Wavy AVA Tj 17";

bool WritePicture(SDL_Surface* frame, const std::string& path) {
    if (frame == nullptr || SDL_LockSurface(frame) != 0) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        SDL_UnlockSurface(frame);
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", frame->w, frame->h);
    for (int y = 0; y < frame->h; ++y) {
        const auto* row = static_cast<const Uint8*>(frame->pixels) + y * frame->pitch;
        for (int x = 0; x < frame->w; ++x) {
            Uint32 pixel = 0;
            for (int byte = 0; byte < frame->format->BytesPerPixel; ++byte) {
                pixel |= static_cast<Uint32>(row[x * frame->format->BytesPerPixel + byte])
                         << (8 * byte);
            }
            Uint8 rgb[3];
            SDL_GetRGB(pixel, frame->format, &rgb[0], &rgb[1], &rgb[2]);
            std::fwrite(rgb, 1, sizeof rgb, file);
        }
    }
    SDL_UnlockSurface(frame);
    return std::fclose(file) == 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: arcade-text-frames FOLDER\n");
        return 2;
    }
    std::string list;
    for (const char* line : kList) {
        list += std::string(line) + "\n";
    }
    WriteWholeFile("highscore.txt", list);

    bool written = false;
    {
        GameEngine engine;
        UseFakeClock(engine);
        engine.SetState(new StateShowScore(engine.GetAssets()));
        RunFrames(engine, 1);
        written = WritePicture(engine.GetScreen(), "list.ppm");

        auto* gameOver = new StateGameOver(engine.GetAssets());
        gameOver->SetScore(223);
        engine.SetEntername();
        engine.SetState(gameOver);
        PushText(kTypedName);
        // One key a frame, and one frame more to draw the whole name.
        RunFrames(engine, static_cast<int>(std::strlen(kTypedName)) + 1);
        written = WritePicture(engine.GetScreen(), "name.ppm") && written;
    }
    std::printf(written ? "frames written\n" : "the frames could not be written\n");
    return written ? 0 : 1;
}
