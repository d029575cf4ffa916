#include "kestrum-framework/deltatimer.h"

#include <gtest/gtest.h>

#include "support/fakeclock.h"
#include "kestrum-framework/axissign.h"
#include "kestrum-framework/debugtools.h"

namespace fw = kestrum::framework;

TEST(DeltaTimer, MeasuresAgainstTheTargetRate) {
    testsupport::FakeClock clock(1000);
    fw::DeltaTimer timer(60);
    EXPECT_EQ(timer.LastMs, 1000);
    for (int frame = 1; frame <= 60; ++frame) {
        clock.now = 1000 + frame * 1000 / 60;
        timer.Update();
    }
    EXPECT_NEAR(timer.Delta, 1.0f, 0.05f);
    EXPECT_NEAR(timer.Seconds, 1.0f, 0.01f);
    EXPECT_FLOAT_EQ(timer.TotalMs, 1000);

    timer.Scale = 0.5f;
    clock.now += 20;
    timer.Update();
    EXPECT_FLOAT_EQ(timer.ElapsedMs, 20);
    EXPECT_FLOAT_EQ(timer.Delta, 0.6f);
    EXPECT_FLOAT_EQ(timer.TotalMs, 1020);

    timer.Update();  // same millisecond
    EXPECT_FLOAT_EQ(timer.Delta, 0);

    fw::DeltaTimer fromZero;
    EXPECT_EQ(fromZero.LastMs, 0);
    fromZero.Reset();
    EXPECT_EQ(fromZero.LastMs, clock.now);

    fw::DeltaTimer noRate(0);
    clock.now += 16;
    noRate.Update();
    EXPECT_EQ(noRate.Delta, 0) << "a target rate of 0 divides by nothing";
    EXPECT_EQ(noRate.Seconds, 0);
}

TEST(DebugConstants, StartingValues) {
    fw::SelectionMode = 0;
    fw::InitDebugToolsUnit();
    EXPECT_EQ(fw::SelectionMode, 1);
    EXPECT_EQ(fw::DebugPalette[6], (platform::Color{1, 0.5f, 0, 1})) << "flag 6 is orange";
    EXPECT_EQ(fw::SelectionColor, (platform::Color{0, 0, 0.5f, 0.5f}));
    EXPECT_EQ(fw::EditorTextColor, (platform::Color{0, 1, 0, 0.5f}));
    static_assert(fw::RotationSign == -1 && fw::AxisSign == fw::RotationSign);
}
