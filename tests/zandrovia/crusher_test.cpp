// Crushers: the column and its schedule, the rise, rest, sink and wait
// timings, the segments' animation wrapping both ways, and the x range.
#include "zandrovia/crusher.h"

#include <gtest/gtest.h>

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/taskscheduler.h"

TEST(Crusher, StandsWhollyBelowTheViewAndSchedulesItself) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto crusher = Crusher::New(GameLayer.get(), 5000);
    const float w = static_cast<float>(CrusherFrames->front()->Width());
    const float h = static_cast<float>(CrusherFrames->front()->Height());
    EXPECT_FLOAT_EQ(crusher->Width(), w);
    EXPECT_FLOAT_EQ(crusher->Height(), 4 * h);
    for (int i = 0; i < 4; ++i) {
        const auto& segment = crusher->Segments[static_cast<std::size_t>(i)];
        EXPECT_EQ(segment->Group(), crusher.get());
        EXPECT_EQ(segment->Images(), CrusherFrames);
        EXPECT_FLOAT_EQ(segment->X(), w / 2);
        EXPECT_FLOAT_EQ(segment->Y(), h / 2 + static_cast<float>(i) * h);
    }
    EXPECT_GE(crusher->X(), w);
    EXPECT_LE(crusher->X(), ViewWidth() - w);
    EXPECT_FLOAT_EQ(crusher->Y(), ViewHeight() + 2 * h);
    EXPECT_FALSE(crusher->Enabled());
    ASSERT_EQ(GameScheduler->Pending(), 1);
    EXPECT_EQ(GameScheduler->PendingTask(0), crusher);
    EXPECT_EQ(GameScheduler->PendingTime(0), 5000);
    EXPECT_TRUE(crusher->CollisionWrite());
    EXPECT_FALSE(crusher->ScoreSystem);
    EXPECT_EQ(KindOf(crusher.get()), ObjectKind::Crusher);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
}

TEST(Crusher, RisesRestsSinksMovesAndWaits) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    crusher->Enabled(true);
    const float vh = ViewHeight(), h = crusher->Height() / 4, top = vh - 2 * h;
    const float x = crusher->X();

    // The rise from VH + 2h to VH - 2h: 2h updates.
    const int rise = static_cast<int>(2 * h);
    for (int i = 0; i < rise; ++i) crusher->OnUpdate();
    EXPECT_FLOAT_EQ(crusher->Y(), top);
    EXPECT_EQ(crusher->State, 0);
    crusher->OnUpdate();  // passes the top: clamped, resting, already counted once
    EXPECT_FLOAT_EQ(crusher->Y(), top);
    EXPECT_EQ(crusher->State, 1);
    EXPECT_EQ(crusher->Timer, 59);
    // Counting that update as the first, it sinks in the 61st.
    for (int update = 2; update <= 60; ++update) crusher->OnUpdate();
    EXPECT_EQ(crusher->State, 1);
    EXPECT_FLOAT_EQ(crusher->Y(), top);
    crusher->OnUpdate();
    EXPECT_EQ(crusher->State, 2);
    EXPECT_FLOAT_EQ(crusher->Y(), top + 15);

    // 15 per update until wholly below; the x changes only then.
    int sink = 1;
    while (crusher->State == 2) {
        EXPECT_FLOAT_EQ(crusher->X(), x);
        crusher->OnUpdate();
        ++sink;
    }
    EXPECT_EQ(sink, 26);  // 26 × 15 = 390 > 4h = 384
    EXPECT_GT(crusher->Y(), vh + 2 * h);
    EXPECT_EQ(crusher->State, 3);
    EXPECT_EQ(crusher->Timer, 59);
    // The relocating update is the first of the wait; the 61st ends it and
    // the rise starts in the 62nd.
    const float below = crusher->Y();
    for (int update = 2; update <= 60; ++update) crusher->OnUpdate();
    EXPECT_EQ(crusher->State, 3);
    crusher->OnUpdate();
    EXPECT_EQ(crusher->State, 0);
    EXPECT_FLOAT_EQ(crusher->Y(), below);
    crusher->OnUpdate();
    EXPECT_FLOAT_EQ(crusher->Y(), below - 2);
}

TEST(Crusher, SegmentsAnimateInAlternatingDirectionsAndWrapBothWays) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    ASSERT_EQ(crusher->Segments[0]->Frames(), 50);
    struct Case {
        int segment;
        float from, to;
    };
    const Case cases[] = {
        {0, 0, 0.5f}, {1, 0, 49.5f}, {1, 0.25f, 49.75f}, {0, 49.75f, 0.25f}, {2, 49.5f, 0}, {3, 10, 9.5f}, {2, 3, 3.5f},
    };
    for (const Case& c : cases) {
        auto& segment = *crusher->Segments[static_cast<std::size_t>(c.segment)];
        segment.Frame = c.from;
        crusher->OnUpdate();
        EXPECT_FLOAT_EQ(segment.Frame, c.to) << c.segment << " from " << c.from;
    }
}

TEST(Crusher, EveryNewPlaceKeepsAWholeWidthFreeAtEachSide) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    const float w = crusher->Width(), vw = ViewWidth();
    float lowest = vw, highest = 0;
    for (int i = 0; i < 400; ++i) {
        crusher->State = 2;
        crusher->Y(ViewHeight() + crusher->Height() / 2);
        crusher->OnUpdate();
        ASSERT_EQ(crusher->State, 3);
        lowest = std::min(lowest, crusher->X());
        highest = std::max(highest, crusher->X());
    }
    EXPECT_GE(lowest, w);
    EXPECT_LE(highest, vw - w);
    // The range is used: both ends are reached within a few units.
    EXPECT_LT(lowest, w + 10);
    EXPECT_GT(highest, vw - w - 10);
}
