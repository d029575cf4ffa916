#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/input.h"

using namespace platform;

TEST(Keyboard, HitAndReleasedFlagsClearWhenRead) {
    KeyboardDevice keyboard;
    keyboard.SetKey(Key::Escape, true);
    keyboard.SetKey(Key::Escape, true);  // a held key does not hit again
    EXPECT_TRUE(keyboard.KeyDown(Key::Escape));
    EXPECT_TRUE(keyboard.KeyHit(Key::Escape));
    EXPECT_FALSE(keyboard.KeyHit(Key::Escape));
    EXPECT_FALSE(keyboard.KeyReleased(Key::Escape));

    keyboard.SetKey(Key::Escape, false);
    EXPECT_FALSE(keyboard.KeyDown(Key::Escape));
    EXPECT_TRUE(keyboard.KeyReleased(Key::Escape));
    EXPECT_FALSE(keyboard.KeyReleased(Key::Escape));

    // A tap between two reads is still seen once.
    keyboard.SetKey('a', true);
    keyboard.SetKey('a', false);
    EXPECT_FALSE(keyboard.KeyDown('a'));
    EXPECT_TRUE(keyboard.KeyHit('a'));

    keyboard.SetKey(Key::Up, true);
    keyboard.Reset();
    EXPECT_FALSE(keyboard.KeyDown(Key::Up));
    EXPECT_FALSE(keyboard.KeyHit(Key::Up));
}

TEST(Mouse, PressedAndReleasedFlagsClearWhenRead) {
    MouseDevice mouse;
    mouse.SetButton(1, true);
    EXPECT_TRUE(mouse.ButtonDown(1));
    EXPECT_TRUE(mouse.ButtonPressed(1));
    EXPECT_FALSE(mouse.ButtonPressed(1));
    EXPECT_FALSE(mouse.ButtonDown(3));
    mouse.FrameDone();
    mouse.SetButton(1, false);
    EXPECT_TRUE(mouse.ButtonReleased(1));
    EXPECT_FALSE(mouse.ButtonReleased(1));
    // A release in the frame of its press comes with the frame's end.
    mouse.SetButton(3, true);
    mouse.SetButton(3, false);
    EXPECT_TRUE(mouse.ButtonPressed(3));
    EXPECT_FALSE(mouse.ButtonReleased(3));
    mouse.FrameDone();
    EXPECT_TRUE(mouse.ButtonReleased(3));
}

// Each frame reads the held state once its events are in; FrameDone ends
// it. Every change of the button is seen by a frame, one per frame.
TEST(Mouse, AChangeBeforeAnyFrameSawTheOneBeforeItWaitsForTheNextFrame) {
    const struct {
        const char* name;
        // Per frame, the events before it: 'd' down, 'u' up.
        std::vector<std::string> events;
        // Per frame, the left button as that frame reads it.
        std::vector<bool> held;
    } cases[] = {
        {"tap", {"du", "", ""}, {true, false, false}},
        {"click over two frames", {"d", "u", ""}, {true, false, false}},
        {"a release and a new press in one frame", {"d", "ud", "u", ""}, {true, false, true, false}},
        {"a tap in each frame", {"du", "du", "", ""}, {true, false, true, false}},
        {"two taps in one frame", {"dudu", "", "", "", ""}, {true, false, true, false, false}},
        {"a flood keeps the first two clicks", {"dudududududu", "", "", "", "", ""},
         {true, false, true, false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MouseDevice mouse;
        int presses = 0, releases = 0;
        for (std::size_t frame = 0; frame < c.events.size(); ++frame) {
            for (const char event : c.events[frame]) mouse.SetButton(1, event == 'd');
            EXPECT_EQ(mouse.ButtonDown(1), c.held[frame]) << "frame " << frame;
            presses += mouse.ButtonPressed(1);
            releases += mouse.ButtonReleased(1);
            mouse.FrameDone();
        }
        EXPECT_EQ(mouse.Frames(), static_cast<std::int64_t>(c.events.size()));
        // One pressed and one released flag for each frame held after one that was not.
        int clicks = 0;
        for (std::size_t frame = 0; frame < c.held.size(); ++frame) {
            clicks += c.held[frame] && (frame == 0 || !c.held[frame - 1]);
        }
        EXPECT_EQ(presses, clicks);
        EXPECT_EQ(releases, clicks);
    }
}

TEST(Mouse, PressFrameAndReset) {
    MouseDevice mouse;
    mouse.FrameDone();
    mouse.FrameDone();
    mouse.SetButton(2, true);
    EXPECT_EQ(mouse.PressFrame(2), 2);
    EXPECT_EQ(mouse.PressFrame(2), mouse.Frames());
    mouse.FrameDone();
    EXPECT_EQ(mouse.PressFrame(2), 2);
    EXPECT_EQ(mouse.PressFrame(0), 0);
    // A reset drops a kept release with everything else and keeps the count.
    mouse.SetButton(1, true);
    mouse.SetButton(1, false);
    mouse.Reset();
    mouse.FrameDone();
    EXPECT_FALSE(mouse.ButtonDown(1));
    EXPECT_FALSE(mouse.ButtonDown(2));
    EXPECT_FALSE(mouse.ButtonReleased(1));
    EXPECT_EQ(mouse.Frames(), 4);
}

TEST(Input, OutOfRangeKeysButtonsAndFingersAreNeverDown) {
    KeyboardDevice keyboard;
    MouseDevice mouse;
    TouchDevice touch;
    for (int key : {-1, Key::Max, 100000}) {
        keyboard.SetKey(key, true);
        EXPECT_FALSE(keyboard.KeyDown(key)) << key;
        EXPECT_FALSE(keyboard.KeyHit(key)) << key;
        EXPECT_FALSE(keyboard.KeyReleased(key)) << key;
    }
    for (int button : {-1, 0, 4, 99}) {
        mouse.SetButton(button, true);
        EXPECT_FALSE(mouse.ButtonDown(button)) << button;
        EXPECT_FALSE(mouse.ButtonPressed(button)) << button;
        EXPECT_FALSE(mouse.ButtonReleased(button)) << button;
    }
    for (int finger : {-1, TouchDevice::MaxFingers, 1000}) {
        touch.SetFinger(finger, true, {1, 2});
        EXPECT_FALSE(touch.FingerDown(finger)) << finger;
        EXPECT_EQ(touch.FingerLocation(finger), Vec2i{}) << finger;
    }
}

TEST(Touch, FingersZeroToFour) {
    TouchDevice touch;
    for (int finger = 0; finger < TouchDevice::MaxFingers; ++finger) {
        touch.SetFinger(finger, true, {finger * 10, finger * 20});
    }
    for (int finger = 0; finger < TouchDevice::MaxFingers; ++finger) {
        EXPECT_TRUE(touch.FingerDown(finger));
        EXPECT_EQ(touch.FingerLocation(finger), (Vec2i{finger * 10, finger * 20}));
    }
    touch.SetFinger(2, false, {0, 0});
    EXPECT_FALSE(touch.FingerDown(2));
    EXPECT_TRUE(touch.FingerDown(3));
}

// With no window (and no video system) moving or hiding the pointer must do
// nothing harmful and still be reflected in the device.
TEST(Mouse, PointerCallsAreHarmlessWithoutAWindow) {
    Mouse().Location(Vec2i{5, 6});
    EXPECT_EQ(Mouse().Location(), (Vec2i{5, 6}));
    Mouse().PointerVisible(false);
    EXPECT_FALSE(Mouse().PointerVisible());
    Mouse().PointerVisible(true);
    EXPECT_TRUE(Mouse().PointerVisible());
    EXPECT_EQ(&Keyboard(), &Keyboard());
    EXPECT_EQ(&Touch(), &Touch());
}
