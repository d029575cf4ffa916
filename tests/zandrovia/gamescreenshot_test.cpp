// A picture of the running game: ground, the squadron, shots in flight,
// explosions with their trails and the laser, drawn offscreen and saved.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/targeting.h"
#include "zandrovia/trailparticle.h"

namespace {

// Pixels of the rectangle that are not the backdrop's dark colours.
int Bright(const platform::Pixmap& pixels, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t argb = pixels.GetPixelARGB(x, y);
            const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            count += r + g + b > 360;
        }
    }
    return count;
}

}  // namespace

TEST(GameScreenshot, ShowsTheSquadronShotsExplosionsAndTheLaser) {
    gamedriver::GameDriver game;
    game.StartPlay();
    game.HoldPlay = true;
    game.BuildGround();
    for (int spot = 0; spot < 14; ++spot) game.AddShip(spot);
    WeaponLevel = 2;
    game.Frame(20);
    // Enemy shots coming up, one of them the laser's target.
    for (int i = 0; i < 6; ++i) {
        const auto shell = TankBulletPool.Acquire();
        shell->Launch(CurrentPlayer, 17, 80 + 4 * i);
        shell->Location({200.0f + 140 * static_cast<float>(i), 420});
        const auto shot = AttackerBulletPool.Acquire();
        shot->Launch(SpiderBulletImage, CurrentPlayer, 100 - 4 * i);
        shot->Location({260.0f + 140 * static_cast<float>(i), 330});
    }
    ExplosionEmitter->Play(300, 480, 1.0f, -1, 0);
    ExplosionEmitter->Play(900, 380, 2.0f, -1, 0);
    TrailParticle::Create(8, 300, 480, 1.0f);
    TrailParticle::Create(8, 900, 380, 1.0f);
    game.Frame(6);
    LaserAmmo = 10;
    UpdateClosestLaserTarget(BulletsLayer.get());
    UpdateLaser();
    UpdateLaser();
    ASSERT_TRUE(PlayerLaser->Enabled());

    const auto pixels = game.Render();
    ASSERT_TRUE(pixels);
    const char* folder = std::getenv("ZANDROVIA_SCREENSHOTS");
    const std::string path = std::string(folder && *folder ? folder : testing::TempDir().c_str()) + "/game.png";
    ASSERT_TRUE(pixels->Save(path));
    std::printf("screenshot: %s\n", path.c_str());

    // Ships on both rows of start spots, shots below them, the ground at the bottom.
    for (const auto& spot : StartSpots) {
        EXPECT_GT(Bright(*pixels, spot.x - 20, spot.y - 20, spot.x + 20, spot.y + 20), 20) << spot.x << "," << spot.y;
    }
    EXPECT_GT(Bright(*pixels, 0, 200, 1136, 560), 500);
    int liveParticles = 0;
    for (const int count : ParticleCounts) liveParticles += count;
    EXPECT_GT(liveParticles, 20);
}
