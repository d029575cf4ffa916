// The autopilot on the whole game, briefly: it plays through the real Game
// screen and state machine from a fresh start, visits the pause menu and
// its reset dialog and gives a name after a game over, all with the
// pointer; its input, recorded, replays to the same state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "platform/files.h"
#include "platform/input.h"
#include "support/testsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/autopilot.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/button.h"
#include "zandrovia/globals.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/togglebox.h"
// The local score service is a Python program run with the system's wget:
// on Windows the games post nowhere (no downloader is there) and only what
// the game shows is checked.
#ifndef _WIN32
#include "localscoreservice.h"
#endif

namespace {

using gamedriver::Autopilot;
using gamedriver::GameDriver;

// Quick levels, short games and frequent visits of the menu, so that a few
// thousand frames see level changes, a game over, a name given, a new game,
// and the menu closed each way with the reset both cancelled and confirmed.
const Autopilot::Options Brisk{.levelFrames = 100,
                               .bossFrames = 400,
                               .levelsPerGame = 1,
                               .switchFrames = 150,
                               .menuFrames = 700,
                               .confirmAfterPass = false};

// What a run saw, for the messages of failed checks.
std::string Describe(const Autopilot::Stats& stats) {
    return std::to_string(stats.frames) + " frames, " + std::to_string(stats.levels.size()) + " levels, " +
           std::to_string(stats.levelChanges) + " level changes, " + std::to_string(stats.gamesStarted) +
           " games, " + std::to_string(stats.gameOvers) + " game overs, " + std::to_string(stats.nameEntries) +
           " asked for a name, " + std::to_string(stats.namesGiven) + " names, " +
           std::to_string(stats.emailsGiven) + " addresses, " + std::to_string(stats.nameSkips) + " skipped, " +
           std::to_string(stats.hallsOfFame) + " halls of fame, " + std::to_string(stats.nukes) + " nukes, " +
           std::to_string(stats.skips) + " skips, menu " + std::to_string(stats.menuOpens) + " opened " +
           std::to_string(stats.menuCloses) + " closed, switches " + std::to_string(stats.soundToggles) + "/" +
           std::to_string(stats.musicToggles) + ", dialog " + std::to_string(stats.resetDialogs) + " opened " +
           std::to_string(stats.resetCancels) + " cancelled " + std::to_string(stats.resetConfirms) + " confirmed";
}

// The game's score service replaced by a local one for the test's time.
class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        // The program starts with the first driver and sets the address from
        // the environment; it is replaced after that.
        { GameDriver start; }
        savedUrl = ScoreServiceUrl;
#ifndef _WIN32
        ScoreServiceUrl = service.Url();
#endif
    }
    void TearDown() override {
        ScoreServiceUrl = savedUrl;
        kestrum::framework::SetTasksPaused(false);
        GuiMode = GUI_MODE_PLAY;
    }

#ifndef _WIN32
    testsupport::LocalScoreService service{"normal", R"([[250000,"TOP"]])"};
#endif
    std::string savedUrl;
};

TEST_F(Soak, TheAutopilotPlaysLevelsAndGamesWithThePoolsBackToFullAtEveryLevelChange) {
    GameDriver game;
    game.DrawEvery = 10;
    Autopilot pilot(game, Brisk);
    std::vector<Autopilot::LevelChange> changes;
    pilot.OnLevelChange = [&](const Autopilot::LevelChange& change) { changes.push_back(change); };
    pilot.NewRun();
    const long residentBefore = GameDriver::ResidentKb();
    pilot.Run(4000);

    const auto& stats = pilot.GetStats();
    SCOPED_TRACE(Describe(stats));
    EXPECT_EQ(stats.frames, 4000);
    EXPECT_GE(stats.levels.size(), 2u);
    EXPECT_TRUE(stats.levels.contains(0)) << "the tutorial comes first";
    ASSERT_GE(changes.size(), 2u) << "the tutorial's end and the level that the new game resumes";
    for (const auto& change : changes) EXPECT_TRUE(change.poolsFull) << change.frame << ": " << change.pools;
    EXPECT_GE(stats.gameOvers, 1);
    EXPECT_GE(stats.gamesStarted, 2);
    EXPECT_GT(stats.switches, 0);
    EXPECT_GT(residentBefore, 0);

    // The pause menu: opened with the pause button and closed back to play
    // (with Escape and with its close button), the switches turned off and
    // on again, the reset dialog cancelled and confirmed. An Escape that
    // reached play would have asked the program to end.
    EXPECT_GE(stats.menuOpens, 3);
    EXPECT_GE(stats.menuCloses, 2);
    EXPECT_GE(stats.soundToggles, 4);
    EXPECT_GE(stats.musicToggles, 4);
    EXPECT_GE(stats.resetCancels, 1);
    EXPECT_GE(stats.resetConfirms, 1);
    EXPECT_LE(stats.resetCancels + stats.resetConfirms, stats.resetDialogs);
    EXPECT_EQ(game.Terminations(), 0);

    // A name and an address typed on the keyboards reached the service with the score.
    EXPECT_GE(stats.nameEntries, 1);
    EXPECT_GE(stats.namesGiven, 1);
    EXPECT_GE(stats.emailsGiven, 1);
    EXPECT_GE(stats.hallsOfFame, 1);
#ifndef _WIN32
    const std::vector<std::string> posts = service.Posts();
    ASSERT_FALSE(posts.empty());
    EXPECT_NE(posts.front().find(R"("name":"ACE","email":"ACE@MAIL.TEST")"), std::string::npos) << posts.front();
#endif
}

// Level 20 sends two spiders and then the saucer, a minute in. The
// autopilot's help (nuke, skip) must not carry play past the level before
// every boss has come, even when games end in it and start it again.
TEST_F(Soak, TheAutopilotStaysInALevelUntilItsBossesHaveCome) {
    GameDriver game;
    game.DrawEvery = 10;
    Autopilot pilot(game, {.levelFrames = 600, .bossFrames = 0, .levelsPerGame = 1, .menuFrames = 0});
    pilot.NewRun();
    Prefs->Cursor = 0;
    Prefs->WriteBool(PREFS_KEY_INSTRUCTIONS, true);
    Prefs->Cursor = 0;
    Prefs->WriteInt("levelIndex", 20);
    Prefs->Cursor = 0;
    int sawLevel = -1;
    for (int frame = 0; frame < 6000 && pilot.GetStats().saucerFrames == 0; ++frame) {
        pilot.Step();
        if (pilot.GetStats().levels.contains(20)) sawLevel = 20;
    }
    const auto& stats = pilot.GetStats();
    SCOPED_TRACE(Describe(stats));
    EXPECT_EQ(sawLevel, 20);
    EXPECT_GT(stats.nukes, 0) << "the level was helped";
    EXPECT_GT(stats.spiderFrames, 0);
    EXPECT_GT(stats.saucerFrames, 0);
    EXPECT_EQ(levelIndex, 20);
    EXPECT_EQ(stats.skips, 0);
}

// The pause button moves the pointer back to where its press began (as
// every release while the clock runs does); the event of that move must
// arrive in the next frame even when that frame is not drawn, and not in
// the middle of a later click, wherever the drawn frames fall.
TEST_F(Soak, ClicksInFramesThatAreNotDrawnLandWhereTheyWereGiven) {
    for (int offset = 0; offset < 10; ++offset) {
        SCOPED_TRACE("first click in frame " + std::to_string(offset + 1));
        GameDriver game;
        game.DrawEvery = 10;
        game.Frame(offset);
        game.Click(*PauseButton);
        ASSERT_EQ(GuiMode, GUI_MODE_PAUSE);
        auto sound = GuiRoots[GUI_MODE_PAUSE]->GetObject("sound");
        ASSERT_TRUE(sound);
        std::vector<bool> heard;
        for (int i = 0; i < 3; ++i) {
            game.Click(*sound);
            heard.push_back(SoundOn());
        }
        EXPECT_EQ(heard, (std::vector<bool>{false, true, false}));
        game.Key(platform::Key::Escape);
        EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
        EXPECT_EQ(game.Terminations(), 0);
    }
}

TEST_F(Soak, ARecordedRunReplaysToTheSameState) {
    const std::string path = testsupport::TempDir() + "run.txt";
    GameDriver game;
    game.DrawEvery = 10;
    gamedriver::PlayState recorded;
    // With a visit of the pause menu (its clicks and Escape are recorded too).
    Autopilot::Options options = Brisk;
    options.menuFrames = 150;
    {
        Autopilot pilot(game, options);
        pilot.NewRun();
        ASSERT_TRUE(game.Record(path));
        pilot.Run(400);
        game.StopRecording();
        recorded = GameDriver::State();
        EXPECT_GT(pilot.GetStats().switches, 0);
        EXPECT_GT(pilot.GetStats().menuCloses, 0);
        EXPECT_GT(pilot.GetStats().soundToggles, 0);
    }

    // The same start: the driver's clean start and a new run.
    game.Reset();
    Autopilot start(game, options);
    start.NewRun();
    EXPECT_NE(GameDriver::State(), recorded);
    std::string error;
    ASSERT_TRUE(game.Replay(path, &error)) << error;
    EXPECT_EQ(game.Frames(), 400);
    EXPECT_EQ(GameDriver::State(), recorded) << GameDriver::State().ToString() << " instead of " << recorded.ToString();
}

TEST_F(Soak, ARecordingWithABadLineIsRefused) {
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
