// The screen shake: a decaying random jolt that always ends with the camera
// exactly where the shake found it.
#include "zandrovia/screenshake.h"

#include <gtest/gtest.h>

#include "kestrum-scenegraph/camera.h"
#include "platform/clock.h"

TEST(ScreenShake, DecaysToRestAndPutsTheCameraBack) {
    platform::ResetRnd();
    auto camera = std::make_shared<kestrum::scenegraph::Camera>();
    camera->Position = {10, 20};
    ScreenShake shake(camera);
    shake.Update();  // idle: the camera is left alone
    EXPECT_EQ(camera->Position, (platform::Vec2f{10, 20}));

    shake.Shake(250, 0.9f);
    EXPECT_TRUE(shake.Active);
    EXPECT_EQ(shake.OrigX, 10);
    EXPECT_EQ(shake.OrigY, 20);
    bool moved = false;
    for (int update = 1; update <= 52; ++update) {
        const float old = shake.Magnitude;
        shake.Update();
        ASSERT_TRUE(shake.Active) << "update " << update;
        // Each axis lies in [new/2 - old, new/2) around the origin.
        for (const float offset : {camera->X() - 10, camera->Y() - 20}) {
            EXPECT_GE(offset, shake.Magnitude / 2 - old - 1e-3f);
            EXPECT_LT(offset, shake.Magnitude / 2 + 1e-3f);
        }
        moved = moved || camera->Position != platform::Vec2f{10, 20};
        // A second shake while one runs changes nothing, even from elsewhere.
        if (update == 10) {
            camera->Position = {500, 500};
            const float magnitude = shake.Magnitude;
            shake.Shake(900, 0.5f);
            EXPECT_EQ(shake.Magnitude, magnitude);
            EXPECT_FLOAT_EQ(shake.Decay, 0.9f);
            EXPECT_EQ(shake.OrigX, 10);
        }
    }
    EXPECT_TRUE(moved);
    shake.Update();  // the 53rd: the range drops below 1
    EXPECT_FALSE(shake.Active);
    EXPECT_LT(shake.Magnitude, 1.0f);
    EXPECT_EQ(camera->Position, (platform::Vec2f{10, 20}));

    // A shake of 0 ends in its first update, with the camera put back.
    camera->Position = {3, 4};
    shake.Shake(0, 0.9f);
    shake.Update();
    EXPECT_FALSE(shake.Active);
    EXPECT_EQ(camera->Position, (platform::Vec2f{3, 4}));
}
