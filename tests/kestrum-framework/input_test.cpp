#include "kestrum-framework/input.h"

#include <gtest/gtest.h>

#include "platform/input.h"

namespace fw = kestrum::framework;

namespace {

struct Sample {
    bool down, hit, released;
};

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Mouse().Reset();
        platform::Touch().Reset();
    }
    void TearDown() override {
        platform::Mouse().Reset();
        platform::Touch().Reset();
    }
};

}  // namespace

TEST_F(InputDeviceTest, EdgesLastOneUpdatePerPress) {
    fw::InputDevice device;
    const bool held[] = {false, true, true, true, false, false};
    const Sample expected[] = {
        {false, false, false}, {true, true, false}, {true, false, false},
        {true, false, false},  {false, false, true}, {false, false, false},
    };
    for (int i = 0; i < 6; ++i) {
        platform::Mouse().SetButton(1, held[i]);
        device.Update();
        platform::Mouse().FrameDone();
        EXPECT_EQ(device.Down[1], expected[i].down) << "update " << i;
        EXPECT_EQ(device.Hit[1], expected[i].hit) << "update " << i;
        EXPECT_EQ(device.Released[1], expected[i].released) << "update " << i;
        EXPECT_FALSE(device.Hit[2] || device.Hit[3]);
    }
}

TEST_F(InputDeviceTest, DevicesSampleIndependently) {
    platform::Mouse().SetButton(3, true);  // already held when the devices are made
    fw::InputDevice scene, gui;
    scene.Update();
    EXPECT_TRUE(scene.Hit[3]);
    gui.Update();
    EXPECT_TRUE(gui.Hit[3]) << "reading one device does not clear the other";
    EXPECT_TRUE(scene.Hit[3]);

    // A press and release between two updates (a tap): the press in one
    // update, the release in the next.
    platform::Mouse().SetButton(2, true);
    platform::Mouse().SetButton(2, false);
    scene.Update();
    EXPECT_TRUE(scene.Hit[2]);
    EXPECT_FALSE(scene.Released[2]);
    platform::Mouse().FrameDone();
    scene.Update();
    EXPECT_FALSE(scene.Hit[2]);
    EXPECT_TRUE(scene.Released[2]);

    scene.UpdateButton(0);
    scene.UpdateButton(7);  // ignored
    scene.InitFields();
    EXPECT_FALSE(scene.Down[3]);
    EXPECT_EQ(scene.Latch[3], 0);
}

TEST_F(InputDeviceTest, TouchQueries) {
    EXPECT_FALSE(fw::TouchActive());
    EXPECT_EQ(fw::FirstTouch(), -1);
    EXPECT_EQ(fw::TouchCount(), 0);
    platform::Touch().SetFinger(1, true, {});
    platform::Touch().SetFinger(4, true, {});
    EXPECT_EQ(fw::FirstTouch(), 1);
    EXPECT_EQ(fw::TouchCount(), 5);
}
