// Pick-ups and men: their kinds and glows, rising, spinning, fading when
// play stops, and leaving at the top of the screen.
#include "zandrovia/pickup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/man.h"
#include "zandrovia/player.h"

namespace {

using gamedriver::GameDriver;

ImageArray Frames(int count, int height) {
    auto frames = std::make_shared<std::vector<platform::ImagePtr>>();
    for (int i = 0; i < count; ++i) frames->push_back(std::make_shared<platform::Image>(32, height, 0));
    return frames;
}

}  // namespace

TEST(Pickup, KindsAndGlowsByTheirFrames) {
    GameDriver game;
    const struct {
        ImageArray frames;
        PickupKind kind;
        bool glow;
    } cases[] = {
        {PowerUpPickupFrames, PickupKind::PowerUp, true},
        {TrackerPickupFrames, PickupKind::Tracker, true},
        {NukePickupFrames, PickupKind::Nuke, false},
        {ShieldPickupFrames, PickupKind::Shield, false},
        {LaserPickupFrames, PickupKind::Laser, false},
        // A copy of an array holding the same first image is the same kind.
        {std::make_shared<std::vector<platform::ImagePtr>>(*LaserPickupFrames), PickupKind::Laser, false},
        {Frames(20, 64), PickupKind::None, false},
        {std::make_shared<std::vector<platform::ImagePtr>>(20), PickupKind::None, false},
        {nullptr, PickupKind::None, false},
    };
    for (const auto& c : cases) {
        const auto pickup = Pickup::New(GameLayer.get(), c.frames, {300, 400});
        EXPECT_EQ(pickup->Kind(), c.kind);
        EXPECT_EQ(static_cast<bool>(pickup->Glow), c.glow);
        EXPECT_TRUE(pickup->CollisionWrite());
        EXPECT_FALSE(pickup->ScoreSystem);
        EXPECT_EQ(pickup->Sprite->Location(), (platform::Vec2f{pickup->Width() / 2, pickup->Height() / 2}));
        if (c.glow) {
            EXPECT_EQ(pickup->Glow->BlendMode, platform::BlendMode::Additive);
            EXPECT_EQ(pickup->Glow->Color, c.kind == PickupKind::PowerUp ? platform::Color(0.5f, 0.5f, 1, 0.5f)
                                                                          : platform::Color(0.75f, 0.25f, 0.75f, 0.5f));
        }
    }
    // Frames that failed to load name no kind, even where every array is empty.
    const ImageArray saved = PowerUpPickupFrames;
    PowerUpPickupFrames = std::make_shared<std::vector<platform::ImagePtr>>(20);
    EXPECT_EQ(PickupKindOf(std::make_shared<std::vector<platform::ImagePtr>>(20)), PickupKind::None);
    PowerUpPickupFrames = saved;
    EXPECT_EQ(PickupName(PickupKind::PowerUp), "POWER UP");
    EXPECT_EQ(PickupName(PickupKind::None), "");
}

TEST(Pickup, RisesLoopsItsFramesAndFadesOutWhenPlayStops) {
    GameDriver game;
    const auto pickup = Pickup::New(GameLayer.get(), Frames(20, 64), {300, 500});
    int updates = 0;
    while (pickup->Layer() && updates < 1000) {
        pickup->OnUpdate();
        ++updates;
        if (updates == 50) {
            // 20 frames in 50 updates: back at the start (or a hair before it).
            const float frame = pickup->Sprite->Frame;
            EXPECT_LT(std::min(frame, 20 - frame), 1e-3f);
        }
    }
    EXPECT_EQ(updates, 710);  // (500 + 32) / 0.75, rounded up

    const auto fading = Pickup::New(GameLayer.get(), PowerUpPickupFrames, {300, 500});
    gameState = STATE_LEVEL_UP;
    updates = 0;
    while (fading->Layer() && updates < 1000) {
        fading->OnUpdate();
        ++updates;
    }
    // 1 - 0.01 per update goes below 0 in the 101st update (single precision).
    EXPECT_EQ(updates, 101);
    EXPECT_FALSE(fading->Sprite->Enabled());
    EXPECT_FALSE(fading->Glow->Enabled());
    EXPECT_GT(fading->Y(), 0);
}

TEST(Man, SpinsInTurnsFloatsUpAndLeavesAtTheTop) {
    GameDriver game;
    const auto first = Man::New(GameLayer.get(), ManFrames, {200, 50});
    const auto second = Man::New(GameLayer.get(), ManFrames, {300, 50});
    EXPECT_GE(first->SpinStep, 0.25f);
    EXPECT_LT(first->SpinStep, 0.5f);
    EXPECT_LE(second->SpinStep, -0.25f);
    EXPECT_EQ(ManSpinSign, 1);
    EXPECT_TRUE(first->CollisionWrite());
    EXPECT_FALSE(first->ScoreSystem);

    // Backward from frame 0: + 32 takes it above 31, - 32 back just below 0,
    // where the frame image is still picked inside the set.
    second->OnUpdate();
    EXPECT_LT(second->Frame, 0.0f);
    EXPECT_GT(second->Frame, -1.0f);
    EXPECT_TRUE(second->FrameImage());
    first->Frame = 31.9f;
    first->OnUpdate();
    EXPECT_LT(first->Frame, 1.0f);
    EXPECT_FLOAT_EQ(first->Y(), 49.75f);
    int updates = 2;
    while (first->Layer() && updates < 10000) {
        first->OnUpdate();
        ++updates;
        ASSERT_GE(first->Frame, -1.0f);
        ASSERT_LE(first->Frame, 31.0f);
    }
    EXPECT_LT(first->Y(), -first->Height() / 2);
    EXPECT_GE(first->Y(), -first->Height() / 2 - 0.25f);
    // A man does not fade when play stops.
    gameState = STATE_GAME_OVER;
    second->OnUpdate();
    EXPECT_EQ(second->Alpha(), 1);
}
