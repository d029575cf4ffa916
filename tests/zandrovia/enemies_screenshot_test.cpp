// One of each enemy drawn by the real Game screen offscreen: the picture is
// saved for a look, and the pixels show the tank standing on the soil with
// its shell leaving the drawn muzzle, the crusher standing on the bottom
// edge and the saucer's beam reaching the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "platform/image.h"
#include "zandrovia/attacker.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/crusher.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/launcher.h"
#include "zandrovia/player.h"
#include "zandrovia/rocket.h"
#include "zandrovia/saucer.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
#include "zandrovia/tankbullet.h"

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// The brightest channel of the pixel.
int Brightness(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xff, g = (argb >> 8) & 0xff, b = argb & 0xff;
    return std::max({r, g, b});
}

std::shared_ptr<Attacker> Flyer(const ImageArray& frames, const ImageArray& ghosts, float x, float y) {
    const auto a = Attacker::New(GameLayer.get(), frames, ghosts, 1, 1);
    a->Location({x, y});
    return a;
}

}  // namespace

TEST(EnemiesScreenshot, EveryEnemyStandsOrFliesWhereItShould) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.StartPlay();
    game.AddShip(1);
    const float vw = ViewWidth(), vh = ViewHeight(), ground = GroundLine();

    Flyer(SawcerFrames, SawcerGhostFrames, 430, 110);
    Flyer(HunterFrames, HunterGhostFrames, 560, 90);
    Flyer(CargoFrames, CargoGhostFrames, 700, 110);

    const auto tank = Tank::New(GameLayer.get());
    tank->X(1010);
    tank->Y(soil->Y() - (soil->Height() + tank->Height()) * 0.5f);
    tank->DriveState = 1;
    tank->DriveTimer = 1000;
    tank->Speed = 0;
    tank->FireCountdown = 0;
    tank->OnUpdate();  // aims at the ship and fires
    std::shared_ptr<TankBullet> shell;
    for (int i = 0; i < TankBulletPool.Count; ++i) {
        if (TankBulletPool.Item(i)->Enabled()) shell = TankBulletPool.Item(i);
    }
    ASSERT_TRUE(shell);

    const auto launcher =
        Launcher::New(GameLayer.get(), {static_cast<int>(vw * 0.3f), static_cast<int>(vh - soil->Height())});
    launcher->Timer = 1;
    while (!(launcher->State == 2 && launcher->Rocket->Y() < launcher->Y() - 24)) launcher->OnUpdate();
    const auto flying = Rocket::New(GameLayer.get());
    flying->Location({300, 250});
    flying->Rotation = -0.25f * Pi;
    flying->Flying = 1;

    const auto crusher = Crusher::New(GameLayer.get(), 0);
    crusher->Enabled(true);
    crusher->X(vw * 0.5f);
    crusher->Y(vh - crusher->Height() * 0.5f);
    crusher->State = 1;
    crusher->Timer = 1000;

    const auto spider = Spider::New(GameLayer.get());
    spider->Location({vw * 0.3f, 160});
    spider->Frame = 50;
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(SpiderBulletImage, spider, 60);
    for (int i = 0; i < 6; ++i) shot->OnUpdate();

    const auto saucer = Saucer::New(GameLayer.get());
    saucer->Location({vw * 0.78f, (vh - soil->Height()) * 0.5f});
    saucer->BeamAngle = 0.5 * std::numbers::pi + 0.45;
    saucer->OnUpdate();
    ASSERT_TRUE(saucer->Laser->Enabled());
    ASSERT_TRUE(saucer->Glows[1]->Enabled());

    const char* folder = std::getenv("ZANDROVIA_SCREENSHOTS");
    const std::string path = std::string(folder && *folder ? folder : testing::TempDir().c_str()) + "/enemies.png";
    ASSERT_TRUE(game.Screenshot(path));
    std::printf("screenshot: %s\n", path.c_str());
    const auto pixels = game.Render();
    ASSERT_TRUE(pixels);
    const auto at = [&](float x, float y) {
        return pixels->GetPixelARGB(static_cast<int>(x), static_cast<int>(y));
    };

    // What the tank draws (spark out): the pixels that change when it is hidden.
    tank->Spark->Enabled(false);
    const auto with = game.Render();
    tank->Visible = false;
    const auto without = game.Render();
    tank->Visible = true;
    ASSERT_TRUE(with && without);
    const auto drawn = [&](float x, float y) {
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        return std::abs(Brightness(with->GetPixelARGB(px, py)) - Brightness(without->GetPixelARGB(px, py))) > 24;
    };

    // The tank's tracks end on the ground line, and nothing of it is drawn
    // above its box.
    EXPECT_FLOAT_EQ(tank->Y() + tank->Height() * 0.5f, ground);
    int lowest = -1;
    for (int y = static_cast<int>(ground) - 30; y < static_cast<int>(ground); ++y) {
        if (drawn(tank->X(), static_cast<float>(y))) lowest = y;
    }
    EXPECT_GE(lowest, static_cast<int>(ground) - 6) << "the tank floats above the soil";
    for (int x = static_cast<int>(tank->X() - 60); x <= static_cast<int>(tank->X() + 60); x += 2) {
        EXPECT_FALSE(drawn(static_cast<float>(x), tank->Y() - tank->Height() * 0.5f - 4))
            << "drawn above the tank's box at x " << x;
    }
    // The shell starts on the drawn muzzle: the barrel is drawn behind the
    // shell's start (toward the turret) and nothing of the tank ahead of it.
    const float cx = std::cos(shell->Rotation), cy = std::sin(shell->Rotation);
    int barrel = 0;
    for (int d = 4; d <= 14; ++d) barrel += drawn(shell->X() + cx * d, shell->Y() + cy * d);
    EXPECT_GE(barrel, 6) << "no gun behind the shell";
    for (int d = 6; d <= 14; ++d) EXPECT_FALSE(drawn(shell->X() - cx * d, shell->Y() - cy * d)) << d;

    // The crusher's column stands on the bottom edge.
    EXPECT_GT(Brightness(at(crusher->X(), vh - 2)), 20);
    // The beam's ground glow is lit where the beam meets the ground line.
    EXPECT_GT(Brightness(at(saucer->Glows[1]->X(), saucer->Glows[1]->Y() - 2)), 60);
}
