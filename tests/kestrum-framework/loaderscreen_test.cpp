#include "kestrum-framework/loaderscreen.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakeclock.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;

namespace {

// A loader whose script has `steps` guarded actions (plus `extra` more calls
// from the given run on) and that records which actions ran and what it saw
// when drawing after the base class.
struct ScriptLoader : fw::LoaderScreen {
    explicit ScriptLoader(int steps) : steps(steps) {}
    void OnLoad() override {
        ++runs;
        const int calls = steps + (runs >= extraFromRun ? extra : 0);
        for (int i = 0; i < calls; ++i) {
            if (Step()) performed.push_back(i);
        }
    }
    void OnRender(platform::Canvas& canvas) override {
        fw::LoaderScreen::OnRender(canvas);
        seenSteps.push_back(Steps);
    }
    int steps;
    int extra = 0;
    int extraFromRun = 1 << 30;
    int runs = 0;
    std::vector<int> performed;
    std::vector<int> seenSteps;
};

struct NextScreen : fw::Screen {
    void OnStart() override { ++starts; }
    int starts = 0;
};

class LoaderScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::App();
        manager = std::make_unique<fw::ScreenManager>("loader", 32, 32, 0);
        target = std::make_unique<testsupport::Target>(testsupport::MakeTarget(4, 4));
    }
    void TearDown() override { manager.reset(); }
    void Frame() { manager->OnRender(*target->canvas); }

    testsupport::FakeClock clock;
    std::unique_ptr<fw::ScreenManager> manager;
    std::unique_ptr<testsupport::Target> target;
};

}  // namespace

TEST_F(LoaderScreenTest, OneStepPerFrameThenHandsOver) {
    NextScreen next;
    ScriptLoader loader(3);
    loader.NextScreen(&next);
    EXPECT_EQ(loader.NextScreen(), &next);
    std::vector<int> loaded;
    for (int frame = 1; frame <= 5; ++frame) {
        Frame();
        loaded.push_back(loader.Loaded);
        EXPECT_EQ(manager->CurrentScreen() == &next, frame == 5) << "frame " << frame;
    }
    EXPECT_EQ(loaded, (std::vector<int>{0, 0, 1, 2, 3}));
    EXPECT_EQ(loader.performed, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(loader.seenSteps.front(), 3) << "a derived screen sees the count in the first frame";
    Frame();
    EXPECT_EQ(next.starts, 1);
    EXPECT_FALSE(loader.Started) << "the loader is stopped once the next screen has taken over";
}

TEST_F(LoaderScreenTest, ScriptWithoutStepsHandsOverAtOnce) {
    NextScreen next;
    ScriptLoader loader(0);
    loader.NextScreen(&next);
    Frame();
    EXPECT_EQ(manager->CurrentScreen(), &next);
    EXPECT_EQ(loader.Steps, 0);
}

TEST_F(LoaderScreenTest, ExtraStepCallsBeyondTheCountedStepsAreNeverGranted) {
    ScriptLoader loader(2);
    loader.extra = 3;
    loader.extraFromRun = 2;  // later runs call Step() more often than the counting run
    for (int frame = 0; frame < 8; ++frame) Frame();
    EXPECT_EQ(loader.performed, (std::vector<int>{0, 1}));
    EXPECT_EQ(loader.Loaded, 2);
    EXPECT_EQ(loader.Done.size(), 2u);
}

TEST_F(LoaderScreenTest, ResetCountsAgainAndKeepsAnArmedStep) {
    ScriptLoader loader(2);
    Frame();  // counts
    Frame();  // arms
    EXPECT_TRUE(loader.LoadNow);
    loader.Reset();
    EXPECT_EQ(loader.Steps, 0);
    EXPECT_TRUE(loader.Done.empty());
    Frame();  // counts again
    EXPECT_EQ(loader.Steps, 2);
    EXPECT_EQ(loader.Loaded, 0);
    Frame();  // the step armed before the reset is granted at once
    EXPECT_EQ(loader.Loaded, 1);
    EXPECT_EQ(loader.performed, (std::vector<int>{0}));
}
