// The enemies as the rest of the game sees them: their kinds, what keeps a
// level open, what a nuke takes away, the hit flash of a tank, and the
// ships lost at once to a crusher, a rocket or the saucer's beam in the
// real frame.
#include <gtest/gtest.h>

#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attacker.h"
#include "zandrovia/crusher.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/launcher.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/rocket.h"
#include "zandrovia/saucer.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
#include "zandrovia/targeting.h"
#include "zandrovia/taskscheduler.h"

using enemytesting::Labels;

namespace {

std::shared_ptr<Attacker> Sawcer(platform::Vec2f at) {
    const auto a = Attacker::New(GameLayer.get(), SawcerFrames, SawcerGhostFrames, 3, 30);
    a->Location(at);
    return a;
}

}  // namespace

TEST(EnemyKinds, EveryEnemyClassHasItsKind) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto saucer = Saucer::New(GameLayer.get());
    const auto launcher = Launcher::New(GameLayer.get(), {300, 560});
    const auto attacker = Sawcer({100, 100});
    const std::pair<const kestrum::scenegraph::LayerObject*, ObjectKind> cases[] = {
        {attacker.get(), ObjectKind::Attacker},
        {launcher.get(), ObjectKind::Launcher},
        {launcher->Rocket.get(), ObjectKind::Rocket},
        {Tank::New(GameLayer.get()).get(), ObjectKind::Tank},
        {saucer.get(), ObjectKind::Saucer},
        {saucer->Laser.get(), ObjectKind::SaucerLaser},
        {Spider::New(GameLayer.get()).get(), ObjectKind::Spider},
        {Crusher::New(GameLayer.get(), 0).get(), ObjectKind::Crusher},
        {attacker->Spark.get(), ObjectKind::Other},
        {saucer->Glows[0].get(), ObjectKind::Other},
        {PlayerLaser.get(), ObjectKind::Other},
    };
    for (const auto& [object, kind] : cases) EXPECT_EQ(KindOf(object), kind) << static_cast<int>(kind);
}

TEST(EnemyKinds, WaitingEnemiesAndFlyingRocketsKeepALevelOpenLaunchersAndCrushersDoNot) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto launcher = Launcher::New(GameLayer.get(), {300, 560});
    Crusher::New(GameLayer.get(), 1000);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
    const auto tank = Tank::New(GameLayer.get());
    GameScheduler->Add(tank, 1000);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 1);
    Saucer::Top(1000, 500, nullptr);
    Spider::Top(1000, 700, nullptr);
    Attacker::CargoRight(2, 1000, 100);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 5);
    launcher->Rocket->Enabled(true);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 6);
    launcher->Rocket->Remove();
    EXPECT_EQ(CountAttackers(GameLayer.get()), 5);
}

TEST(EnemyKinds, ANukeTakesTheEnemiesInPlayButNotTheWaitingOnesTheBossesOrCrushers) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto attacker = Sawcer({200, 200});
    const auto waiting = Sawcer({300, 200});
    GameScheduler->Add(waiting, 5000);
    const auto tank = Tank::New(GameLayer.get());
    tank->Location({400, 515});
    const auto launcher = Launcher::New(GameLayer.get(), {600, 560});
    launcher->Timer = 1;
    while (!launcher->Rocket->Enabled()) launcher->OnUpdate();
    const auto flying = Rocket::New(GameLayer.get());
    flying->Location({700, 300});
    flying->Flying = 1;
    const auto saucer = Saucer::New(GameLayer.get());
    const auto spider = Spider::New(GameLayer.get());
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    crusher->Enabled(true);
    const int score = Score;

    Nuke();
    EXPECT_EQ(attacker->Layer(), nullptr);
    EXPECT_EQ(tank->Layer(), nullptr);
    EXPECT_EQ(launcher->Layer(), nullptr);
    EXPECT_FALSE(launcher->Rocket->Enabled());
    EXPECT_FALSE(flying->Enabled());
    EXPECT_EQ(waiting->Layer(), GameLayer.get());
    EXPECT_TRUE(saucer->Enabled());
    EXPECT_TRUE(spider->Enabled());
    EXPECT_TRUE(crusher->Enabled());
    EXPECT_EQ(Score, score);
    EXPECT_TRUE(Labels(*FrontLayer).empty());
    EXPECT_EQ(CountAttackers(GameLayer.get()), 3);  // the waiting sawcer and both bosses
}

TEST(EnemyKinds, TheLaserAndTheTrackerChooseOnlyAmongTheirKindsOfEnemy) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.StartPlay();
    game.AddShip(10);  // at (568, 192)
    const auto saucer = Saucer::New(GameLayer.get());
    saucer->Location({600, 260});
    const auto spider = Spider::New(GameLayer.get());
    spider->Location({520, 260});
    const auto tank = Tank::New(GameLayer.get());
    tank->Location({640, 300});
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    crusher->Enabled(true);
    crusher->Location({568, 300});
    UpdateClosestLaserTarget(GameLayer.get());
    EXPECT_FALSE(LaserTarget);
    UpdateClosestTrackerTarget(GameLayer.get());
    EXPECT_FALSE(TrackerTarget);  // none before a first laser target

    const auto attacker = Sawcer({650, 250});
    UpdateClosestLaserTarget(GameLayer.get());
    EXPECT_EQ(LaserTarget, attacker);
    UpdateClosestTrackerTarget(GameLayer.get());
    EXPECT_EQ(TrackerTarget, spider);  // the first of the layer that it may take
}

TEST(EnemyKinds, APlayerShotFlashesBothSpritesOfATank) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto tank = Tank::New(GameLayer.get());
    tank->Location({400, 515});
    const auto hits = HitFlashSprites(tank.get());
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0], tank->Turret.get());
    EXPECT_EQ(hits[1], tank->Wheels.get());
    const auto ship = game.AddShip(10);
    const auto shot = PlayerBulletPool.Acquire();
    shot->Launch(ship, PlayerBulletImage, {0, 0}, 0, 16, 1, 1);
    shot->OnCollision(tank);
    EXPECT_EQ(tank->Turret->GhostCount, 1);
    EXPECT_EQ(tank->Wheels->GhostCount, 1);
    EXPECT_EQ(tank->ScoreSystem->Energy, 9);
}

TEST(EnemyKinds, ACrusherARocketOrTheSaucersBeamDestroyAShipAtOnce) {
    gamedriver::GameDriver game;
    game.HoldPlay = true;
    game.BuildGround();
    game.StartPlay();
    // A ship far away keeps the game going.
    game.AddShip(0);
    const float vh = ViewHeight();

    const auto crushed = game.AddShip(12);
    const auto crusher = Crusher::New(GameLayer.get(), 0);
    crusher->X(crushed->X());
    crusher->Y(vh - crusher->Height() / 2);
    crusher->State = 1;
    crusher->Timer = 1000;
    crusher->Enabled(true);
    crushed->Location({crusher->X(), vh - crusher->Height() + 20});

    const auto hit = game.AddShip(8);
    const auto rocket = Rocket::New(GameLayer.get());
    rocket->Location(hit->Location());
    rocket->Rotation = std::numbers::pi_v<float> / 2;

    const auto swept = game.AddShip(10);
    swept->Y(400);
    const auto saucer = Saucer::New(GameLayer.get());
    saucer->Location({swept->X(), (vh - soil->Height()) / 2 - 200});
    saucer->BeamAngle = -std::numbers::pi / 2;  // up, clear of the ship, until it passes the middle

    ASSERT_EQ(ShipsAlive, 4);
    const int score = Score;
    game.Frame();
    EXPECT_EQ(crushed->Layer(), nullptr);
    EXPECT_EQ(hit->Layer(), nullptr);
    EXPECT_FALSE(rocket->Enabled());
    EXPECT_EQ(Labels(*FrontLayer), std::vector<std::string>{"30+"});
    EXPECT_EQ(swept->Layer(), GameLayer.get());
    EXPECT_EQ(ShipsAlive, 2);

    // The saucer settles and its beam turns down onto the ship below.
    saucer->Y((vh - soil->Height()) / 2);
    saucer->BeamAngle = std::numbers::pi / 2;
    game.Frame();
    EXPECT_TRUE(saucer->Laser->Enabled());
    game.Frame();
    EXPECT_EQ(swept->Layer(), nullptr);
    EXPECT_EQ(ShipsAlive, 1);
    EXPECT_EQ(Score, score);
}
