#include "kestrum-framework/utilities.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/fakeclock.h"

namespace fw = kestrum::framework;

TEST(Utilities, BlendModes) {
    EXPECT_EQ(fw::BlendModeFromName("Additive"), 3);
    EXPECT_EQ(fw::BlendModeFromName("OPAQUE"), 1);
    EXPECT_EQ(fw::BlendModeFromName("multiply"), 4);
    EXPECT_EQ(fw::BlendModeFromName("additive "), 2);
    EXPECT_EQ(fw::BlendModeFromName(""), 2);
    for (int mode : {1, 2, 3, 4}) EXPECT_EQ(fw::BlendModeFromInt(mode), mode);
    for (int mode : {0, 5, -1}) EXPECT_EQ(fw::BlendModeFromInt(mode), 2);
}

TEST(Utilities, ContainsBitsAndPercent) {
    EXPECT_FALSE(fw::Contains("a", std::vector<std::string>{}));
    EXPECT_FALSE(fw::Contains("a", std::vector<std::string>{"A", "b"}));
    EXPECT_TRUE(fw::Contains("b", std::vector<std::string>{"A", "b"}));
    EXPECT_TRUE(fw::Contains(3, std::vector<int>{1, 3}));
    EXPECT_FALSE(fw::Contains(2, std::vector<int>{}));
    EXPECT_EQ(fw::BoolToString(true), "True");
    EXPECT_EQ(fw::BoolToString(false), "False");

    EXPECT_EQ(fw::GetBit(3, 8), 1);
    EXPECT_EQ(fw::GetBit(2, 8), 0);
    EXPECT_EQ(fw::GetBit(31, -1), 1);
    EXPECT_EQ(fw::SetBit(0, 8), 9);
    EXPECT_EQ(fw::SetBit(31, 0), INT32_MIN);
    EXPECT_EQ(fw::GetBit(32, -1), 0) << "bit numbers outside 0 to 31 read as 0";
    EXPECT_EQ(fw::SetBit(40, 5), 5);

    EXPECT_EQ(fw::Percent(50, 3), 1);
    EXPECT_EQ(fw::Percent(-50, 3), -1);
    // Whole results stay whole, though most hundredths have no exact binary form.
    for (int percent : {29, 57, 58, 7, 99}) EXPECT_EQ(fw::Percent(percent, 100), percent) << percent;
    EXPECT_EQ(fw::Percent(1e30f, 1e30f), INT_MAX);
}

TEST(Utilities, StopwatchFramesPerSecondAndWait) {
    testsupport::FakeClock clock(100);
    fw::InitUtilitiesUnit();
    EXPECT_EQ(fw::Stopwatch(), 0);
    clock.now = 140;
    EXPECT_EQ(fw::Stopwatch(), 40);
    EXPECT_EQ(fw::Stopwatch(), 0);
    clock.now = 150;
    EXPECT_EQ(fw::Stopwatch(), 10);

    // One call per frame at 60 frames per second (16.67 ms apart).
    std::vector<int> seen;
    for (int frame = 0; frame <= 130; ++frame) {
        clock.now = 1000 + frame * 1000 / 60;
        seen.push_back(fw::FramesPerSecond());
    }
    EXPECT_EQ(seen[59], 0) << "nothing during the first second";
    EXPECT_EQ(seen[60], 60);
    EXPECT_EQ(seen[130], 60);

    // The busy wait reads the clock until it has advanced far enough.
    int reads = 0;
    platform::SetMillisecsSource([&] { return std::int64_t{reads++}; });
    fw::Wait(5);
    EXPECT_GE(reads, 6);
    reads = 0;
    fw::Wait(0);
    EXPECT_EQ(reads, 1);
}
