// The autopilot on the whole game, briefly: it plays through the real Game
// screen and state machine from a fresh start, and its input, recorded,
// replays to the same state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/testsupport.h"
#include "zandrovia/driver/autopilot.h"
#include "zandrovia/driver/gamedriver.h"

namespace {

using gamedriver::Autopilot;
using gamedriver::GameDriver;

// Quick levels and short games, so that a few thousand frames see level
// changes, a game over and a new game.
const Autopilot::Options Brisk{.levelFrames = 100, .bossFrames = 0, .levelsPerGame = 1, .switchFrames = 150};

TEST(Soak, TheAutopilotPlaysLevelsAndGamesWithThePoolsBackToFullAtEveryLevelChange) {
    GameDriver game;
    game.DrawEvery = 10;
    Autopilot pilot(game, Brisk);
    std::vector<Autopilot::LevelChange> changes;
    pilot.OnLevelChange = [&](const Autopilot::LevelChange& change) { changes.push_back(change); };
    pilot.NewRun();
    const long residentBefore = GameDriver::ResidentKb();
    pilot.Run(2400);

    const auto& stats = pilot.GetStats();
    EXPECT_EQ(stats.frames, 2400);
    EXPECT_GE(stats.levels.size(), 2u);
    EXPECT_TRUE(stats.levels.contains(0)) << "the tutorial comes first";
    ASSERT_GE(changes.size(), 2u) << "the tutorial's end and the level that the new game resumes";
    for (const auto& change : changes) EXPECT_TRUE(change.poolsFull) << change.frame << ": " << change.pools;
    EXPECT_GE(stats.gameOvers, 1) << changes.size() << " level changes, " << stats.levels.size() << " levels, "
                                  << stats.nukes << " nukes, " << stats.skips << " skips";
    EXPECT_GE(stats.gamesStarted, 2);
    EXPECT_GT(stats.switches, 0);
    EXPECT_GT(residentBefore, 0);
}

TEST(Soak, ARecordedRunReplaysToTheSameState) {
    const std::string path = testsupport::TempDir() + "run.txt";
    GameDriver game;
    game.DrawEvery = 10;
    gamedriver::PlayState recorded;
    {
        Autopilot pilot(game, Brisk);
        pilot.NewRun();
        ASSERT_TRUE(game.Record(path));
        pilot.Run(400);
        game.StopRecording();
        recorded = GameDriver::State();
        EXPECT_GT(pilot.GetStats().switches, 0);
    }

    // The same start: the driver's clean start and a new run.
    game.Reset();
    Autopilot start(game, Brisk);
    start.NewRun();
    EXPECT_NE(GameDriver::State(), recorded);
    std::string error;
    ASSERT_TRUE(game.Replay(path, &error)) << error;
    EXPECT_EQ(game.Frames(), 400);
    EXPECT_EQ(GameDriver::State(), recorded) << GameDriver::State().ToString() << " instead of " << recorded.ToString();
}

TEST(Soak, ARecordingWithABadLineIsRefused) {
    const std::string dir = testsupport::TempDir();
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {
        {"0 press 10\n0 end\n", "a value missing"},
        {"0 hover 10 10\n0 end\n", "an unknown event"},
        {"5 press 10 10\n2 release 10 10\n5 end\n", "frames out of order"},
        {"0 press 10 10\n", "no end line"},
    };
    for (const auto& c : cases) {
        GameDriver game;
        const std::string path = dir + "bad.txt";
        ASSERT_TRUE(platform::SaveString(c.text, path));
        std::string error;
        EXPECT_FALSE(game.Replay(path, &error)) << c.fault;
        EXPECT_FALSE(error.empty()) << c.fault;
    }
    GameDriver game;
    EXPECT_FALSE(game.Replay(dir + "missing.txt"));
}

}  // namespace
