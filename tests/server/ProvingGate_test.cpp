#include "server/ProvingGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "replay/Recorder.h"
#include "replay/ReplayFile.h"

namespace {

using replay::Replay;
using server::ProvingGate;

Replay WholeGame() {
    Replay game;
    std::string error;
    EXPECT_TRUE(replay::Load(ARCADE_WHOLE_GAME_REPLAY, game, error)) << error;
    game.gameVersion = replay::GameVersion();  // kept once, proven by whatever version is built
    return game;
}

// A latch: Open lets every Wait through, for good.
class Latch {
  public:
    void Open() {
        std::lock_guard<std::mutex> held(lock);
        open = true;
        changed.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> held(lock);
        changed.wait(held, [this] { return open; });
    }

  private:
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
};

TEST(ProvingGate, EveryPostUpToTheLimitWaitsItsTurnAndOnePastItIsTurnedAway) {
    const Replay game = WholeGame();
    ProvingGate gate(3, 1);
    ASSERT_EQ(gate.Workers(), 1u);
    // The one worker held in its first answer: what comes in now can only wait.
    Latch answering;
    Latch release;
    ASSERT_TRUE(gate.Submit(game, [&](const replay::Verdict&) {
        answering.Open();
        release.Wait();
    }));
    answering.Wait();
    // The worker answers none of these before release: by then every one is handed in.
    std::atomic<int> proven{0};
    std::atomic<int> answered{0};
    std::atomic<int> taken{0};
    Latch allAnswered;
    for (int post = 0; post < 3; ++post) {
        const bool took = gate.Submit(game, [&](const replay::Verdict& verdict) {
            proven += verdict.proven ? 1 : 0;
            if (++answered == taken) {
                allAnswered.Open();
            }
        });
        EXPECT_TRUE(took) << "post " << post + 1 << " of 3 may wait";
        taken += took ? 1 : 0;
    }
    EXPECT_FALSE(gate.Submit(game, [](const replay::Verdict&) { ADD_FAILURE() << "called"; }));
    EXPECT_FALSE(gate.Prove(game).has_value());
    release.Open();
    if (taken > 0) {
        allAnswered.Wait();
    }
    EXPECT_EQ(proven.load(), 3);
    // Once proven, the waiting ones leave room again.
    const auto verdict = gate.Prove(game);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_TRUE(verdict->proven) << verdict->why;
}

TEST(ProvingGate, GamesProvenSideBySideGetTheVerdictsTheyGetAlone) {
    // Each from another point of the sequence: a proof that saw another's draws would differ.
    Replay whole = WholeGame();
    Replay later = whole;
    later.drawsBefore = 1'000'000;
    Replay raised = whole;
    raised.points += 1;
    const std::vector<Replay> games = {whole, later, raised};
    std::vector<replay::Verdict> alone;
    for (const Replay& game : games) {
        alone.push_back(replay::Prove(game));
    }
    ASSERT_TRUE(alone[0].proven) << alone[0].why;
    ASSERT_FALSE(alone[1].proven);

    ProvingGate gate(12, 2);
    std::vector<std::thread> posters;
    std::vector<std::vector<replay::Verdict>> got(4);
    for (std::size_t poster = 0; poster < got.size(); ++poster) {
        posters.emplace_back([&, poster] {
            for (std::size_t i = 0; i < games.size(); ++i) {
                const auto verdict = gate.Prove(games[(poster + i) % games.size()]);
                got[poster].push_back(
                    verdict.value_or(replay::Verdict{false, "turned away", "", ""}));
            }
        });
    }
    for (std::thread& poster : posters) {
        poster.join();
    }
    for (std::size_t poster = 0; poster < got.size(); ++poster) {
        for (std::size_t i = 0; i < games.size(); ++i) {
            const replay::Verdict& wanted = alone[(poster + i) % games.size()];
            EXPECT_EQ(got[poster][i].proven, wanted.proven);
            EXPECT_EQ(got[poster][i].why, wanted.why);
        }
    }
}

}  // namespace
