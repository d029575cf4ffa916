#include "kestrum-framework/framework.h"

#include <gtest/gtest.h>

#include "support/fakeclock.h"

namespace fw = kestrum::framework;

TEST(FrameworkModule, InitialisesOnceAndLeavesLaterStateAlone) {
    testsupport::FakeClock clock(250);
    fw::InitFrameworkModule();
    EXPECT_NE(fw::Content, nullptr);
    EXPECT_EQ(fw::TaskTime(), 250);
    EXPECT_EQ(fw::SelectionMode, 1);

    const auto content = fw::Content;
    fw::SelectionMode = 2;
    fw::Message::Create("kept", &clock);
    fw::InitFrameworkModule();  // returns at once
    EXPECT_EQ(fw::SelectionMode, 2);
    EXPECT_EQ(fw::Content, content);
    EXPECT_TRUE(fw::Message::Contains("kept", &clock));

    fw::InitDebugToolsUnit();
    fw::Message::Clear();
}
