#include "kestrum-framework/screenmanager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakeclock.h"
#include "kestrum-framework/taskmanager.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;

namespace {

std::vector<std::string> events;

// A screen that logs every hook as "<name>.<hook>" and runs optional actions.
struct LogScreen : fw::Screen {
    explicit LogScreen(std::string name) : name(std::move(name)) {}
    void RunOnce() override { Log("RunOnce", onRunOnce); }
    void OnStart() override { Log("Start", onStart); }
    void OnUpdate() override { Log("Update", onUpdate); }
    void OnStop() override { Log("Stop", onStop); }
    void OnRender(platform::Canvas&) override { Log("Render", onRender); }
    void OnKeyEvent(platform::KeyEvent&) override { events.push_back(name + ".Key"); }
    void OnWindowEvent(platform::WindowEvent&) override { events.push_back(name + ".Window"); }
    platform::Vec2i OnMeasure() override { return {12, 34}; }

    void Log(const char* hook, std::function<void()>& action) {
        events.push_back(name + "." + hook);
        if (action) {
            auto run = std::move(action);  // one shot
            action = nullptr;
            run();
        }
    }

    std::string name;
    std::function<void()> onRunOnce, onStart, onUpdate, onStop, onRender;
};

class ScreenManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::App();
        events.clear();
        manager = std::make_unique<fw::ScreenManager>("test", 64, 48, 0);
        target = std::make_unique<testsupport::Target>(testsupport::MakeTarget(8, 8));
    }
    void TearDown() override {
        screens.clear();
        manager.reset();
    }
    LogScreen* Make(const std::string& name) {
        screens.push_back(std::make_unique<LogScreen>(name));
        return screens.back().get();
    }
    // Runs one frame and returns its events, joined by blanks.
    std::string Frame() {
        events.clear();
        manager->OnRender(*target->canvas);
        std::string joined;
        for (const auto& e : events) joined += (joined.empty() ? "" : " ") + e;
        return joined;
    }

    testsupport::FakeClock clock;
    std::unique_ptr<fw::ScreenManager> manager;
    std::unique_ptr<testsupport::Target> target;
    std::vector<std::unique_ptr<LogScreen>> screens;
};

}  // namespace

TEST_F(ScreenManagerTest, FirstFrameRunsTheWholeLifeCycleOfTheLastScreenMade) {
    Make("A");
    LogScreen* b = Make("B");
    EXPECT_EQ(manager->CurrentScreen(), b);
    EXPECT_EQ(fw::ScreenManagerInstance(), manager.get());
    EXPECT_EQ(b->Manager(), manager.get());
    EXPECT_EQ(Frame(), "B.RunOnce B.Start B.Update B.Render");
    EXPECT_EQ(Frame(), "B.Update B.Render");
}

TEST_F(ScreenManagerTest, SwitchInUpdateCompletesInTheSameFrame) {
    LogScreen* a = Make("A");
    LogScreen* b = nullptr;
    Frame();
    a->onUpdate = [&] { b = Make("B"); };
    fw::SetTasksPaused(true);
    EXPECT_EQ(Frame(), "A.Update A.Stop");
    EXPECT_FALSE(fw::TasksPaused()) << "a completed switch lifts the pause";
    EXPECT_FALSE(a->Started);
    EXPECT_EQ(Frame(), "B.RunOnce B.Start B.Update B.Render");
}

TEST_F(ScreenManagerTest, SwitchInRenderCompletesInTheNextFrame) {
    LogScreen* a = Make("A");
    LogScreen* b = Make("B");
    Frame();
    b->onRender = [&] { a->Set(); };
    EXPECT_EQ(Frame(), "B.Update B.Render");
    // A is current but not started again; B waits for its stop step.
    EXPECT_EQ(Frame(), "A.RunOnce A.Start A.Update B.Stop");
    EXPECT_EQ(Frame(), "A.Update A.Render");
}

TEST_F(ScreenManagerTest, RunOnceThatSwitchesDefersTheNewScreensSetUp) {
    LogScreen* a = Make("A");
    LogScreen* b = nullptr;
    a->onRunOnce = [&] { b = Make("B"); };
    EXPECT_EQ(Frame(), "A.RunOnce B.Start B.Update");
    EXPECT_EQ(manager->CurrentScreen(), b);
    EXPECT_TRUE(b->RunOncePending) << "B is started but not yet set up, so it did not render";
    EXPECT_FALSE(a->Started);
    EXPECT_EQ(Frame(), "B.RunOnce B.Update B.Render") << "A was never started, so it is not stopped";
}

TEST_F(ScreenManagerTest, ScreenThatSetsItselfCurrentIsRestarted) {
    LogScreen* a = Make("A");
    Frame();
    a->onUpdate = [&] { a->Set(); };
    EXPECT_EQ(Frame(), "A.Update A.Stop");
    EXPECT_EQ(Frame(), "A.Start A.Update A.Render");

    // Set on a current screen that is not started changes nothing visible.
    LogScreen* b = Make("B");
    b->Set();
    EXPECT_EQ(manager->CurrentScreen(), b);
    EXPECT_EQ(Frame(), "B.RunOnce B.Start B.Update A.Stop");
}

TEST_F(ScreenManagerTest, SecondReplacementBeforeTheStopStepStopsThePendingScreenAtOnce) {
    LogScreen* a = Make("A");
    Frame();
    LogScreen* b = nullptr;
    LogScreen* c = nullptr;
    a->onRender = [&] { b = Make("B"); };
    Frame();
    b->onUpdate = [&] { c = Make("C"); };
    // B replaced before A's stop step: A is stopped at once, B in the stop step.
    EXPECT_EQ(Frame(), "B.RunOnce B.Start B.Update A.Stop B.Stop");
    EXPECT_FALSE(a->Started);
    EXPECT_FALSE(b->Started);
    EXPECT_EQ(Frame(), "C.RunOnce C.Start C.Update C.Render");
}

TEST_F(ScreenManagerTest, ChildScreensReturnToTheirParentWithoutRestartingIt) {
    LogScreen* child = Make("K");
    LogScreen* a = Make("A");
    Frame();
    a->OpenChild(child);
    EXPECT_EQ(child->Parent, a);
    EXPECT_EQ(Frame(), "K.RunOnce K.Start K.Update K.Render");
    EXPECT_TRUE(a->Started) << "the parent is not stopped";
    child->Close();
    EXPECT_EQ(child->Parent, nullptr);
    EXPECT_EQ(Frame(), "A.Update K.Stop");
    EXPECT_EQ(Frame(), "A.Update A.Render");
    child->Close();  // no parent: nothing happens
    EXPECT_EQ(manager->CurrentScreen(), a);
}

TEST_F(ScreenManagerTest, PlatformLoopDrivesFramesAndMinimisedWindowRunsNoHook) {
    Make("A");
    Frame();
    events.clear();
    testsupport::App().RequestRender();
    testsupport::App().Step();
    // A real window's own events (shown, focus, exposed: a window system
    // sends them when it likes) reach the screen too; the frame's hooks are
    // what is counted here.
    std::erase_if(events, [](const std::string& e) { return e.ends_with(".Window"); });
    EXPECT_EQ(events, (std::vector<std::string>{"A.Update", "A.Render"}));
    EXPECT_TRUE(testsupport::App().RenderRequested()) << "each frame requests the next";

    manager->SetMinimized(true);
    EXPECT_EQ(Frame(), "");
    manager->SetMinimized(false);
    EXPECT_EQ(Frame(), "A.Update A.Render");
}

// A window the player minimises just as a frame begins: the platform draws
// the frame it was asked for, and from then on nothing may ask for another.
struct MinimisedAtFrame : fw::ScreenManager {
    using fw::ScreenManager::ScreenManager;
    bool minimiseNext = false;
    void OnRender(platform::Canvas& canvas) override {
        if (minimiseNext) SetMinimized(true);
        fw::ScreenManager::OnRender(canvas);
    }
};

TEST_F(ScreenManagerTest, AMinimisedWindowRequestsNoFrame) {
    platform::AppInstance& app = testsupport::App();
    manager.reset();
    auto* window = new MinimisedAtFrame("test", 64, 48, 0);
    manager.reset(window);
    ASSERT_EQ(app.MainWindow(), window);
    Make("A");
    app.RequestRender();
    app.Step();
    ASSERT_TRUE(app.RenderRequested()) << "a running window asks for its next frame";

    window->minimiseNext = true;
    events.clear();
    app.Step();
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(app.RenderRequested()) << "frames stop while minimised";
    app.Step();
    EXPECT_TRUE(events.empty());

    // Restoring asks for a frame again, and the frames go on from there.
    window->minimiseNext = false;
    window->SetMinimized(false);
    app.RequestRender();
    app.Step();
    EXPECT_EQ(events, (std::vector<std::string>{"A.Update", "A.Render"}));
    EXPECT_TRUE(app.RenderRequested());
}

TEST_F(ScreenManagerTest, EventsReachOnlyTheCurrentScreen) {
    Make("A");
    LogScreen* b = Make("B");
    platform::KeyEvent key;
    platform::MouseEvent mouse;
    manager->OnKeyEvent(key);
    EXPECT_EQ(events, (std::vector<std::string>{"B.Key"}));
    EXPECT_EQ(manager->OnMeasure(), (platform::Vec2i{12, 34}));

    bool terminated = false;
    testsupport::App().SetTerminateHook([&] { terminated = true; });
    platform::WindowEvent close;
    close.type = platform::WindowEvent::Close;
    events.clear();
    manager->OnWindowEvent(close);
    EXPECT_EQ(events, (std::vector<std::string>{"B.Window"}));
    EXPECT_TRUE(terminated);

    // Without a current screen events are dropped, but closing still ends the program.
    screens.clear();
    EXPECT_EQ(manager->CurrentScreen(), nullptr);
    (void)b;
    terminated = false;
    manager->OnKeyEvent(key);
    manager->OnMouseEvent(mouse);
    manager->OnWindowEvent(close);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(manager->OnMeasure(), (platform::Vec2i{0, 0}));
    testsupport::App().SetTerminateHook(nullptr);
}

TEST(Screen, BaseScreenMeasuresZero) {
    testsupport::App();
    fw::ScreenManager manager("base", 16, 16, 0);
    fw::Screen screen;
    EXPECT_EQ(screen.OnMeasure(), (platform::Vec2i{0, 0}));
    EXPECT_EQ(manager.CurrentScreen(), &screen);
}
