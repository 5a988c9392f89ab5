// A whole game played through the main loop by the aim-and-dodge policy.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "play/AimAndDodge.h"
#include "play/PlayFixture.h"
#include "screens/StateGameOver.h"

namespace {

using aim_and_dodge::ChooseStep;
using aim_and_dodge::Step;

// Pictures play no part in the rules, and drawing twelve thousand backgrounds would take most of
// the test's time.
class WholeGame : public PlayField {
  protected:
    WholeGame() : PlayField(false) {}
};

TEST_F(WholeGame, ClearingAllFourLevelsScores223AndEndsInTheFrameAfter) {
    constexpr int kFrameLimit = 30000;
    int frames = 0;
    int level = 1;
    std::vector<int> scoreAtLevelStart = {0};  // levels 1 to 5
    int lastLevelClearedInFrame = -1;
    while (Play() != nullptr && frames < kFrameLimit) {
        const Step step = ChooseStep(Probe());
        HoldKey(SDLK_LEFT, step == Step::Left);
        HoldKey(SDLK_RIGHT, step == Step::Right);
        PushKey(SDLK_SPACE);
        Frame();
        ++frames;
        if (Play() != nullptr && Probe().Level() != level) {
            ASSERT_EQ(Probe().Level(), level + 1);
            level = Probe().Level();
            scoreAtLevelStart.push_back(Probe().Score());
            lastLevelClearedInFrame = frames;
        }
    }
    std::printf("The game ended in frame %d; level 4 was cleared in frame %d.\n", frames,
                lastLevelClearedInFrame);
    RecordProperty("frames", frames);

    auto* gameOver = dynamic_cast<StateGameOver*>(engine.GetState());
    ASSERT_NE(gameOver, nullptr) << "still playing level " << level << " after " << frames;
    EXPECT_EQ(scoreAtLevelStart, (std::vector<int>{0, 5, 5 + 6, 5 + 6 + 12, 223}));
    EXPECT_EQ(frames, lastLevelClearedInFrame + 1);
    EXPECT_EQ(gameOver->GetScore(), 223);
    EXPECT_TRUE(engine.Names().Typing());
}

}  // namespace
