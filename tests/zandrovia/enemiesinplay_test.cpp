// Every kind of enemy at once in the real game frame against a full
// squadron: waves come in on time, the shared shot pools hold, ships and
// enemies are destroyed, points are scored, and nothing breaks. A picture
// of the busy sky is saved for a look.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/attacker.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/crusher.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/launcher.h"
#include "zandrovia/saucer.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/zandrovia.h"

using enemytesting::InFlight;

TEST(EnemiesInPlay, EveryKindOfEnemyAgainstTheSquadronInTheRealFrame) {
    gamedriver::GameDriver game;
    game.HoldPlay = true;
    game.BuildGround();
    game.StartPlay();
    for (int spot = 0; spot < 14; ++spot) game.AddShip(spot);
    WeaponLevel = 2;
    const float vw = ViewWidth(), vh = ViewHeight();

    Attacker::SawcersLeft(0, 300);
    Attacker::HuntersRight(500, 300);
    Attacker::CargoLeft(3, 1000, 500);
    for (int k = 1; k <= 3; ++k) {
        const auto tank = Tank::New(GameLayer.get());
        tank->X(-tank->Width() / 2);
        tank->Y(soil->Y() - (soil->Height() + tank->Height()) / 2);
        GameScheduler->Add(tank, k * 1000);
    }
    for (const float f : {0.25f, 0.75f}) {
        Launcher::New(GameLayer.get(), {static_cast<int>(vw * f), static_cast<int>(vh - soil->Height())});
    }
    Crusher::New(GameLayer.get(), 500);
    Spider::Top(1000, static_cast<int>(vw * 0.35f), WarningSound);
    Saucer::Top(3000, static_cast<int>(vw * 0.65f), nullptr);
    LevelPickups = {PowerUpPickupFrames, TrackerPickupFrames, ShieldPickupFrames};
    const int enemies = CountAttackers(GameLayer.get());
    EXPECT_EQ(enemies, 8 + 8 + 3 + 3 + 2);

    const char* folder = std::getenv("ZANDROVIA_SCREENSHOTS");
    const std::string path =
        std::string(folder && *folder ? folder : testing::TempDir().c_str()) + "/enemies-in-play.png";
    int mostShots = 0, mostShells = 0;
    for (int frame = 1; frame <= 900; ++frame) {
        // The Game screen's update alone, most of the time: drawing is the
        // slow part, and one frame in 30 runs whole.
        if (frame % 30 == 0) {
            game.Frame();
        } else {
            game.Tick();
            GameScreen->OnUpdate();
            if (gameState == STATE_LEVEL_UP) gameState = STATE_PLAY;
        }
        mostShots = std::max(mostShots, InFlight(AttackerBulletPool));
        mostShells = std::max(mostShells, InFlight(TankBulletPool));
        ASSERT_LE(mostShots, 8);
        ASSERT_LE(mostShells, 14);
        if (frame == 420) {
            ASSERT_TRUE(game.Screenshot(path));
            std::printf("screenshot: %s\n", path.c_str());
        }
    }
    EXPECT_EQ(GameScheduler->Pending(), 0);
    EXPECT_GT(Score, 0);
    EXPECT_GT(mostShots, 0);
    EXPECT_GT(mostShells, 0);
    EXPECT_LT(CountAttackers(GameLayer.get()), enemies);
}
