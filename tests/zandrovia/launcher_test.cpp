// Launchers and their rockets: the launcher on its foot, the hatch and
// climb timings, destruction while the rocket climbs or flies, the climb of
// a rocket shot on its way out, homing, the wrap, the crash and the counts.
#include "zandrovia/launcher.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/gamesprite.h"
#include "zandrovia/globals.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/rocket.h"
#include "zandrovia/trailparticle.h"

using enemytesting::InFlight;
using enemytesting::Labels;
using gamedriver::SoundProbe;

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// A launcher standing on the soil at x.
std::shared_ptr<Launcher> OnTheSoil(int x) {
    return Launcher::New(GameLayer.get(), {x, static_cast<int>(ViewHeight() - soil->Height())});
}

// Updates the launcher until its rocket is enabled; the number of updates.
int UntilLaunch(Launcher& launcher) {
    int updates = 0;
    while (!launcher.Rocket->Enabled() && updates < 10000) {
        launcher.OnUpdate();
        ++updates;
    }
    return updates;
}

// A rocket flying on its own at the place and heading.
std::shared_ptr<Rocket> Flying(platform::Vec2f at, float rotation) {
    const auto rocket = Rocket::New(GameLayer.get());
    rocket->Location(at);
    rocket->Rotation = rotation;
    rocket->Flying = 1;
    return rocket;
}

}  // namespace

TEST(Launcher, StandsOnItsFootWithItsRocketOnThePad) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const int ground = static_cast<int>(ViewHeight() - soil->Height());
    const auto launcher = OnTheSoil(400);
    const float foot = static_cast<float>(FootImage->Height());
    const float body = static_cast<float>((*LauncherGhostFrames)[0]->Height());
    EXPECT_FLOAT_EQ(launcher->X(), 400);
    EXPECT_FLOAT_EQ(launcher->Y(), static_cast<float>(static_cast<int>(ground - foot / 2 - body / 2)));
    EXPECT_GE(launcher->Timer, 120);
    EXPECT_LT(launcher->Timer, 480);
    EXPECT_EQ(launcher->State, 0);
    EXPECT_EQ(launcher->ScoreSystem->Energy, 25);
    EXPECT_EQ(launcher->ScoreSystem->Points, 250);
    EXPECT_TRUE(launcher->CollisionWrite());
    EXPECT_EQ(KindOf(launcher.get()), ObjectKind::Launcher);

    ASSERT_TRUE(launcher->Rocket);
    EXPECT_FALSE(launcher->Rocket->Enabled());
    EXPECT_EQ(launcher->Rocket->Layer(), GameLayer.get());
    EXPECT_FLOAT_EQ(launcher->Rocket->Scale, PadRocketScale);
    EXPECT_EQ(launcher->Rocket->ScoreSystem->Points, 30);
    EXPECT_TRUE(launcher->Rocket->CollisionWrite());

    // The foot's bottom edge rests on the ground point.
    int feet = 0;
    for (const auto& object : GameLayer->GetAllLayerObjects(true, true)) {
        const auto* sprite = dynamic_cast<const GameSprite*>(object.get());
        if (!sprite || sprite->Image() != FootImage) continue;
        ++feet;
        EXPECT_FLOAT_EQ(sprite->X(), 400);
        EXPECT_FLOAT_EQ(sprite->Y() + foot / 2, static_cast<float>(ground));
    }
    EXPECT_EQ(feet, 1);
    // Launchers and rockets on their pads do not keep a level open.
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
}

TEST(Launcher, OpensAfterItsTimerLiftsTheRocket48AndLetsItFly) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe whoosh(WhooshSound);
    const auto launcher = OnTheSoil(400);
    const auto rocket = launcher->Rocket;
    launcher->Timer = 200;
    for (int update = 1; update < 200; ++update) launcher->OnUpdate();
    EXPECT_EQ(launcher->State, 0);
    EXPECT_EQ(launcher->Timer, 1);
    launcher->OnUpdate();  // the 200th: the hatch starts opening
    EXPECT_EQ(launcher->State, 1);
    EXPECT_FLOAT_EQ(launcher->Frame, 0.1f);
    EXPECT_GE(launcher->Timer, 120);

    // 170 steps of 0.1 in single precision pass the last frame 17.
    const int hatch = UntilLaunch(*launcher);
    EXPECT_EQ(hatch, 169);
    EXPECT_EQ(whoosh.Plays(), 1);
    EXPECT_FLOAT_EQ(launcher->Frame, 17);
    EXPECT_EQ(launcher->State, 2);
    EXPECT_EQ(rocket->Flying, 0);
    EXPECT_FLOAT_EQ(rocket->Frame, 3);
    EXPECT_FLOAT_EQ(rocket->Rotation, -0.5f * Pi);
    EXPECT_EQ(rocket->ScoreSystem->Energy, 3);
    // Put 2 left and 12 below the launcher, and already lifted by 3.
    EXPECT_FLOAT_EQ(rocket->X(), launcher->X() - 2);
    EXPECT_FLOAT_EQ(rocket->Y(), launcher->Y() + 12 - 3);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 1);

    // 60 units at 3 per update: 19 more updates to 48 above the launcher.
    for (int i = 0; i < 18; ++i) {
        launcher->OnUpdate();
        rocket->OnUpdate();  // idle while climbing
    }
    EXPECT_EQ(launcher->State, 2);
    EXPECT_FLOAT_EQ(rocket->X(), launcher->X() - 2);
    launcher->OnUpdate();
    EXPECT_FLOAT_EQ(rocket->Y(), launcher->Y() - 48);
    EXPECT_EQ(rocket->Flying, 1);
    EXPECT_EQ(launcher->State, 3);
    EXPECT_NEAR(launcher->Frame, 16.9f, 1e-4f);

    // The hatch closes while the rocket flies; the timer stands still.
    const double timer = launcher->Timer;
    for (int i = 0; i < 200; ++i) launcher->OnUpdate();
    EXPECT_EQ(launcher->State, 0);
    EXPECT_FLOAT_EQ(launcher->Frame, 0);
    EXPECT_EQ(launcher->Timer, timer);
    // Once the rocket is gone the countdown runs and the same rocket goes again.
    rocket->Remove();
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
    launcher->OnUpdate();
    EXPECT_EQ(launcher->Timer, timer - 1);
    UntilLaunch(*launcher);
    EXPECT_EQ(launcher->Rocket, rocket);
    EXPECT_EQ(whoosh.Plays(), 2);
}

TEST(Launcher, DestroyedWhileItsRocketClimbsItTakesTheRocketAlong) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe booms(Explosion1Sound);
    const auto climbing = OnTheSoil(300);
    climbing->Timer = 1;
    UntilLaunch(*climbing);
    climbing->OnOutro(nullptr);
    climbing->Remove();
    EXPECT_EQ(climbing->Layer(), nullptr);
    EXPECT_FALSE(climbing->Rocket->Enabled());
    EXPECT_EQ(climbing->Rocket->Flying, 0);
    EXPECT_EQ(climbing->Rocket->Layer(), GameLayer.get());
    EXPECT_EQ(Labels(*FrontLayer), std::vector<std::string>{"250+"});
    EXPECT_EQ(booms.Plays(), 1);
    EXPECT_EQ(InFlight(TrailPool), 8);
    EXPECT_GT(ParticleCounts[5], 0);

    // One whose rocket flies already lets it fly on, never to be sent again.
    const auto flying = OnTheSoil(800);
    flying->Timer = 1;
    UntilLaunch(*flying);
    while (flying->Rocket->Flying == 0) flying->OnUpdate();
    flying->OnOutro(nullptr);
    flying->Remove();
    EXPECT_TRUE(flying->Rocket->Enabled());
    EXPECT_EQ(flying->Rocket->Flying, 1);
    const float y = flying->Rocket->Y();
    flying->Rocket->OnUpdate();
    EXPECT_LT(flying->Rocket->Y(), y);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 1);
}

TEST(Launcher, ARocketShotWhileClimbingEndsTheClimbAndTheNextOneClimbsAgain) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto launcher = OnTheSoil(400);
    const auto rocket = launcher->Rocket;
    launcher->Timer = 1;
    UntilLaunch(*launcher);
    for (int i = 0; i < 5; ++i) launcher->OnUpdate();
    rocket->OnOutro(nullptr);
    rocket->Remove();
    EXPECT_EQ(Labels(*FrontLayer), std::vector<std::string>{"30+"});
    launcher->OnUpdate();
    EXPECT_EQ(launcher->State, 3);
    EXPECT_EQ(rocket->Flying, 0);
    EXPECT_FALSE(rocket->Enabled());

    // The next launch climbs out: the rocket goes straight up, lifted by its
    // launcher, and flies only 48 above it.
    launcher->Timer = 1;
    while (launcher->State != 0) launcher->OnUpdate();
    UntilLaunch(*launcher);
    EXPECT_EQ(rocket->Flying, 0);
    while (rocket->Flying == 0) {
        const float x = rocket->X(), y = rocket->Y();
        rocket->OnUpdate();
        launcher->OnUpdate();
        EXPECT_FLOAT_EQ(rocket->X(), x);
        EXPECT_FLOAT_EQ(rocket->Y(), rocket->Flying ? launcher->Y() - 48 : y - 3);
    }

    // A nuke during the climb ends it the same way.
    rocket->Remove();
    launcher->Timer = 1;
    while (launcher->State != 0) launcher->OnUpdate();
    UntilLaunch(*launcher);
    Nuke();
    EXPECT_FALSE(launcher->Enabled());
    EXPECT_FALSE(rocket->Enabled());
    EXPECT_EQ(rocket->Flying, 0);
}

TEST(Rocket, TurnsByComparingHeadingAndBearingNotByTheShorterArc) {
    struct Case {
        float heading, bearing;
        int turn;
    };
    const Case cases[] = {
        {10, -10, 1},    // -10 counts as 350: the long way round
        {-90, 0.2f, 1},  // 270 against 359.8
        {90, 90, 0},     {180, 90, -1}, {45, 300, 1}, {-45, 10, -1},  // 315 against 10
        {0.5f, 0.6f, -1},  // 359.5 against 359.4
        {0, 1, -1},        // 360 against 1
        {1, 0.99f, 1},     // 1 against 359.01
    };
    for (const Case& c : cases) EXPECT_EQ(Rocket::TurnDirection(c.heading, c.bearing), c.turn) << c.heading;
}

TEST(Rocket, HomesOnTheCurrentShipOrTheMiddleAtItsSpeed) {
    gamedriver::GameDriver game;
    game.BuildGround();
    // No ship: the middle of the view, slightly below a rocket heading right.
    const auto rocket = Flying({100, 300}, 0);
    rocket->OnUpdate();
    EXPECT_FLOAT_EQ(rocket->Rotation, -0.1f);  // heading 0 counts as 360
    EXPECT_FLOAT_EQ(rocket->Velocity.x, std::cos(-0.1f) * 3);
    EXPECT_FLOAT_EQ(rocket->Velocity.y, std::sin(-0.1f) * 3);
    EXPECT_FLOAT_EQ(rocket->X(), 100 + std::cos(-0.1f) * 3);
    EXPECT_FLOAT_EQ(rocket->Frame, 0.2f);

    // A ship straight below a rocket heading up: bearing 90 < 270.
    const auto ship = game.AddShip(10);
    const auto down = Flying({ship->X(), 100}, -0.5f * Pi);
    down->OnUpdate();
    EXPECT_FLOAT_EQ(down->Rotation, -0.5f * Pi - 0.1f);

    // On the pad (not flying) it does nothing.
    const auto idle = Rocket::New(GameLayer.get());
    idle->Location({50, 50});
    idle->OnUpdate();
    EXPECT_EQ(idle->Location(), (platform::Vec2f{50, 50}));
}

TEST(Rocket, WrapsAtTheSidesAndCrashesIntoTheGroundSmokingWithoutPoints) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth(), ground = GroundLine();
    const auto west = Flying({0, 300}, Pi);
    const float half = west->Width() / 2;
    west->X(-half + 1);
    west->OnUpdate();
    EXPECT_FLOAT_EQ(west->X(), vw + half);

    SoundProbe booms(Explosion1Sound);
    const int score = Score;
    const auto rocket = Flying({600, 0}, 0.5f * Pi);
    rocket->Location({600, ground - rocket->Height() / 2 - 2});
    const int smoke = ParticleCounts[3];
    rocket->OnUpdate();  // 3 down at most, 0.1 turned
    EXPECT_FALSE(rocket->Enabled());
    EXPECT_EQ(rocket->Flying, 0);
    EXPECT_EQ(rocket->Layer(), GameLayer.get());
    EXPECT_EQ(booms.Plays(), 1);
    EXPECT_GT(ParticleCounts[0], 0);
    EXPECT_GT(ParticleCounts[3], smoke);  // its smoke puff in the crash update
    EXPECT_EQ(InFlight(TrailPool), 8);
    EXPECT_TRUE(Labels(*FrontLayer).empty());
    EXPECT_EQ(Score, score);
}

TEST(Launcher, WithoutItsImagesItStandsAndLaunchesUnseen) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const platform::ImagePtr foot = FootImage;
    const ImageArray frames = LauncherFrames, ghosts = LauncherGhostFrames;
    FootImage = nullptr;
    LauncherFrames = std::make_shared<std::vector<platform::ImagePtr>>(18, nullptr);
    LauncherGhostFrames = nullptr;
    const auto launcher = OnTheSoil(400);
    EXPECT_FLOAT_EQ(launcher->Y(), ViewHeight() - soil->Height());
    launcher->Timer = 1;
    UntilLaunch(*launcher);
    EXPECT_TRUE(launcher->Rocket->Enabled());
    // Nothing of it is drawn: the picture is the same with and without it.
    launcher->Rocket->Enabled(false);
    const auto with = game.Render();
    launcher->Visible = false;
    const auto without = game.Render();
    ASSERT_TRUE(with && without);
    for (int y = 480; y < 560; y += 4) {
        for (int x = 340; x < 460; x += 4) ASSERT_EQ(with->GetPixelARGB(x, y), without->GetPixelARGB(x, y));
    }
    FootImage = foot;
    LauncherFrames = frames;
    LauncherGhostFrames = ghosts;
}
