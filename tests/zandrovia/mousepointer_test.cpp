// The drawn mouse pointer: it follows the mouse, hides for a drag while the
// clock runs and sends the system pointer back to where the drag began (a
// tap is a drag of one frame that ends where it began); anything while the
// clock is halted moves nothing.
#include "zandrovia/mousepointer.h"

#include <gtest/gtest.h>

#include "shelltest.h"

namespace {

class Pointer : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        for (const auto& object : MousePointerRoot->Objects) {
            if (auto found = std::dynamic_pointer_cast<MousePointer>(object)) pointer = found;
        }
        ASSERT_TRUE(pointer);
    }
    // A press and a release that both fall between two frames (a touchpad tap).
    void Tap(int x, int y) {
        platform::Mouse().FrameDone();
        platform::Mouse().SetLocation({x, y});
        platform::Mouse().SetButton(1, true);
        platform::Mouse().SetButton(1, false);
        now += 16;
        MouseReleased = platform::Mouse().ButtonReleased(1);
        GuiRoots[GuiMode]->Update();
        MousePointerRoot->Update();
    }
    platform::Vec2i Drawn() const { return {static_cast<int>(pointer->X()), static_cast<int>(pointer->Y())}; }

    std::shared_ptr<MousePointer> pointer;
};

}  // namespace

TEST_F(Pointer, DragHidesThePointerAndTheReleaseSendsItBack) {
    Frame(100, 120, false);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(Drawn(), (platform::Vec2i{100, 120}));
    Frame(100, 120, true);
    EXPECT_FALSE(pointer->Visible);
    EXPECT_EQ(pointer->PressLocation, (platform::Vec2i{100, 120}));
    Frame(300, 220, true);
    EXPECT_FALSE(pointer->Visible);
    EXPECT_EQ(Drawn(), (platform::Vec2i{100, 120}));
    Frame(350, 260, false);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{100, 120}));
    Frame(platform::Mouse().Location(), false);
    EXPECT_EQ(Drawn(), (platform::Vec2i{100, 120}));
}

TEST_F(Pointer, ATapHidesThePointerForOneFrameAndLeavesItWhereItWas) {
    // Before any drag, and after one.
    Frame(400, 300, false);
    Tap(400, 300);
    EXPECT_FALSE(pointer->Visible);
    Frame(400, 300, false);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{400, 300}));
    Frame(50, 60, true);
    Frame(80, 90, false);
    ASSERT_EQ(platform::Mouse().Location(), (platform::Vec2i{50, 60}));
    Frame(700, 500, false);
    Tap(700, 500);
    Frame(700, 500, false);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{700, 500}));
    Frame(700, 500, false);
    EXPECT_EQ(Drawn(), (platform::Vec2i{700, 500}));
}

TEST_F(Pointer, WhileTheClockIsHaltedThePointerOnlyFollows) {
    for (const bool frozen : {false, true}) {
        SCOPED_TRACE(frozen ? "frozen" : "paused");
        if (frozen) kestrum::framework::SetTasksFrozen(true);
        else kestrum::framework::SetTasksPaused(true);
        Frame(200, 200, false);
        Frame(200, 200, true);
        EXPECT_TRUE(pointer->Visible);
        Frame(260, 240, true);
        EXPECT_EQ(Drawn(), (platform::Vec2i{260, 240}));
        Frame(260, 240, false);
        EXPECT_TRUE(pointer->Visible);
        EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{260, 240}));
        kestrum::framework::SetTasksFrozen(false);
        kestrum::framework::SetTasksPaused(false);
    }
}

TEST_F(Pointer, PausingDuringADragShowsThePointerAtOnce) {
    Frame(100, 100, false);
    Frame(100, 100, true);
    ASSERT_FALSE(pointer->Visible);
    kestrum::framework::SetTasksPaused(true);
    Frame(150, 170, true);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(Drawn(), (platform::Vec2i{150, 170}));
    Frame(150, 170, false);
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{150, 170}));
    // The drag ended while paused: resuming sends nothing back either.
    kestrum::framework::SetTasksPaused(false);
    Frame(150, 170, false);
    EXPECT_TRUE(pointer->Visible);
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{150, 170}));
}
