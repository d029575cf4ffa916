// The player's ships in the running game: steering by drag, switching by
// click, the bounds, automatic fire by weapon level, collecting pick-ups and
// men, the shield, hits, losing ships and the game's end.
#include "zandrovia/player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/man.h"
#include "zandrovia/pickup.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"

namespace {

using gamedriver::GameDriver;
using gamedriver::SoundProbe;

// The player shots in flight.
std::vector<std::shared_ptr<PlayerBullet>> Flying() {
    std::vector<std::shared_ptr<PlayerBullet>> shots;
    for (int i = 0; i < PlayerBulletPool.Count; ++i) {
        if (PlayerBulletPool.Item(i)->Enabled()) shots.push_back(PlayerBulletPool.Item(i));
    }
    return shots;
}

// The floating labels in FrontLayer.
std::vector<std::shared_ptr<ScoreMessage>> Labels() {
    std::vector<std::shared_ptr<ScoreMessage>> labels;
    for (const auto& object : FrontLayer->GetAllLayerObjects(true, true)) {
        if (auto label = std::dynamic_pointer_cast<ScoreMessage>(object)) labels.push_back(label);
    }
    return labels;
}

// A game in play with its three ships on spots 3 (current), 10 and 5.
struct Squadron {
    GameDriver game;
    std::shared_ptr<Player> a, b, c;
    Squadron() {
        game.StartPlay();
        game.HoldPlay = true;
        a = game.AddShip(3);
        b = game.AddShip(10);
        c = game.AddShip(5);
    }
};

constexpr float Degrees = 2.0f * std::numbers::pi_v<float> / 360.0f;

}  // namespace

TEST(Player, BuiltOnItsSpotTheFirstBecomesCurrent) {
    Squadron s;
    EXPECT_EQ(ShipsAlive, 3);
    EXPECT_EQ(CurrentPlayer, s.a);
    EXPECT_EQ(PendingPlayer, s.a);
    EXPECT_EQ(s.b->Location(), (platform::Vec2f{568, 192}));
    EXPECT_EQ(s.a->ScoreSystem->Energy, PLAYER_ENERGY);
    EXPECT_TRUE(s.a->CollisionRead());
    EXPECT_GT(s.a->Width(), 0);
    EXPECT_EQ(s.a->Ship->Location(), (platform::Vec2f{s.a->Width() / 2, s.a->Height() / 2}));
    EXPECT_FALSE(s.a->Shield->Enabled());
    EXPECT_FALSE(s.a->Spark->Enabled());
    s.game.Frame();
    EXPECT_EQ(PendingPlayer, nullptr);
    EXPECT_EQ(s.a->Ship->Color, (platform::Color{1, 1, 1, 1}));
    EXPECT_EQ(s.b->Ship->Color, (platform::Color{0.5f, 0.5f, 0.5f, 1}));
}

TEST(Player, ADragSteersTheCurrentShipAndAClickSwitchesShips) {
    Squadron s;
    s.game.Frame();
    // A drag over empty sky: the first frame only starts it.
    s.game.Press(300, 400);
    s.game.Frame();
    EXPECT_EQ(SwipeLast, (platform::Vec2f{300, 400}));
    EXPECT_EQ(s.a->Velocity, (platform::Vec2f{0, 0}));
    s.game.Move(340, 380);
    s.game.Frame();
    EXPECT_NEAR(s.a->Velocity.x, 10, 1e-4f);
    EXPECT_NEAR(s.a->Velocity.y, -5, 1e-4f);
    const platform::Vec2f before = s.a->Location();
    s.game.Frame();
    EXPECT_NEAR(s.a->X(), before.x + 10, 1e-3f);
    EXPECT_NEAR(s.a->Y(), before.y - 5, 1e-3f);
    EXPECT_NEAR(s.a->Velocity.x, 9.5f, 1e-4f);
    s.game.Release(340, 380);
    s.game.Frame();
    EXPECT_EQ(SwipeLast, (platform::Vec2f{0, 0}));
    EXPECT_EQ(s.b->Velocity, (platform::Vec2f{0, 0}));
    // The release sent the pointer back to where the drag began; the move
    // arrives with the next frame's events.
    s.game.Frame();
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{300, 400}));

    // A click on ship b makes it current and files it after the others.
    s.game.Press(568, 192);
    s.game.Frame();
    EXPECT_EQ(CurrentPlayer, s.b);
    EXPECT_EQ(PendingPlayer, nullptr);
    const auto* cell = s.b->Cell();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ((*cell)[cell->Length() - 1], s.b);
    s.game.Move(568, 212);
    s.game.Frame();
    s.game.Release(568, 212);
    s.game.Frame();
    EXPECT_NEAR(s.b->Velocity.y, 5 * 0.95f, 1e-4f);
    EXPECT_EQ(s.b->Ship->Color, (platform::Color{1, 1, 1, 1}));
    EXPECT_EQ(s.a->Ship->Color, (platform::Color{0.5f, 0.5f, 0.5f, 1}));

    // A drag begun while the clock is paused moves nothing.
    kestrum::framework::SetTasksPaused(true);
    s.game.Press(100, 500);
    s.game.Frame();
    s.game.Move(200, 500);
    s.game.Frame();
    kestrum::framework::SetTasksPaused(false);
    s.game.Release(200, 500);
    EXPECT_FLOAT_EQ(s.b->Velocity.x, 0);
}

// A touchpad's tap on a ship (press and release in one frame) selects it
// once, and its one frame held drags nothing.
TEST(Player, ATapOnAShipSelectsItAndSteersNothing) {
    Squadron s;
    s.game.Frame();
    s.game.Press(568, 192);
    s.game.Release(568, 192);
    s.game.Frame();
    EXPECT_EQ(CurrentPlayer, s.b);
    EXPECT_EQ(SwipeLast, (platform::Vec2f{568, 192}));
    s.game.Frame(2);
    EXPECT_EQ(CurrentPlayer, s.b);
    EXPECT_EQ(SwipeLast, (platform::Vec2f{0, 0}));
    EXPECT_EQ(s.a->Velocity, (platform::Vec2f{0, 0}));
    EXPECT_EQ(s.b->Velocity, (platform::Vec2f{0, 0}));
    EXPECT_EQ(platform::Mouse().Location(), (platform::Vec2i{568, 192}));
}

// The camera shakes while the pointer is held still on the sky: the picture
// jumps, the hand does not, so nothing is steered.
TEST(Player, AStillDragDuringAScreenShakeSteersNothing) {
    Squadron s;
    s.game.Frame();
    s.game.Press(300, 400);
    s.game.Frame();
    CameraShake->Shake(250, 0.9f);
    const platform::Vec2f before = s.a->Location();
    for (int frame = 0; frame < 60 && CameraShake->Active; ++frame) {
        s.game.Frame();
        ASSERT_EQ(s.a->Velocity, (platform::Vec2f{0, 0})) << "frame " << frame;
    }
    EXPECT_FALSE(CameraShake->Active);
    EXPECT_EQ(s.a->Location(), before);
    // A drag after it steers as before.
    s.game.Move(340, 380);
    s.game.Frame();
    EXPECT_NEAR(s.a->Velocity.x, 10, 1e-4f);
    EXPECT_NEAR(s.a->Velocity.y, -5, 1e-4f);
    s.game.Release(340, 380);
    s.game.Frame();
}

// During a shake every frame shows the ships moved by the camera's offset;
// a click aims at that picture, the one on screen when the button went down.
TEST(Player, AClickOnAShipWhereTheShakenFrameShowsItSelectsIt) {
    Squadron s;
    s.game.Frame();
    CameraShake->Shake(250, 0.9f);
    std::vector<int> missed;
    for (int frame = 0; frame < 50; frame += 2) {
        s.game.Frame();
        const std::shared_ptr<Player> target = CurrentPlayer == s.b ? s.c : s.b;
        const platform::Vec2f shown = target->Location() - GameCamera->Position;
        const int x = static_cast<int>(std::lround(shown.x)), y = static_cast<int>(std::lround(shown.y));
        s.game.Press(x, y);
        s.game.Frame();
        if (CurrentPlayer != target) missed.push_back(frame);
        s.game.Release(x, y);
    }
    EXPECT_TRUE(CameraShake->Active) << "the clicks fall inside the shake";
    EXPECT_TRUE(missed.empty()) << "clicks missed in frames " << ::testing::PrintToString(missed);
    // Neither held click steered the ship it selected.
    EXPECT_EQ(s.b->Velocity, (platform::Vec2f{0, 0}));
    EXPECT_EQ(s.c->Velocity, (platform::Vec2f{0, 0}));
}

TEST(Player, ShipsStayInsideTheSidesAndBelowTheTopAndAreLostOnTheGround) {
    const struct {
        platform::Vec2f push;
        platform::Vec2f at;
    } cases[] = {{{-4000, 0}, {12, 96}}, {{4000, 0}, {1124, 96}}, {{0, -4000}, {568, 36}}};
    for (const auto& c : cases) {
        Squadron s;
        s.a->Velocity = c.push;
        s.game.Frame();
        EXPECT_EQ(s.a->Location(), c.at) << c.push.x << "," << c.push.y;
    }

    Squadron s;
    s.game.BuildGround();
    ASSERT_TRUE(soil);
    const float ground = GroundLine();
    EXPECT_FLOAT_EQ(ground, 640 - soil->Height());
    s.a->Y(ground - s.a->Height() / 2 - 1);
    s.game.Frame();
    EXPECT_TRUE(s.a->Enabled());
    s.a->Velocity = {0, 2};
    s.game.Frame();
    EXPECT_FALSE(s.a->Enabled());
    EXPECT_EQ(s.a->Layer(), nullptr);
    EXPECT_EQ(ShipsAlive, 2);
    EXPECT_EQ(gameState, STATE_PLAY);
}

TEST(Player, BurstsEverySevenUpdatesByWeaponLevel) {
    struct Shot {
        float dx, dy, degrees;
    };
    const std::vector<Shot> levels[] = {
        {{0, 32, 90}},
        {{-16, 32, 93}, {16, 32, 87}},
        {{0, 32, 90}, {-16, 32, 97}, {16, 32, 83}},
    };
    for (int level = 0; level < 3; ++level) {
        Squadron s;
        WeaponLevel = level;
        SoundProbe shoot(Shoot2Sound);
        for (int frame = 1; frame <= 6; ++frame) {
            s.game.Frame();
            ASSERT_TRUE(Flying().empty()) << "frame " << frame;
        }
        s.game.Frame();
        const auto shots = Flying();
        ASSERT_EQ(shots.size(), levels[level].size()) << "level " << level;
        EXPECT_EQ(shoot.Plays(), 1);
        EXPECT_TRUE(s.a->Spark->Enabled());
        EXPECT_EQ(s.a->Spark->Alpha(), 1);
        for (std::size_t i = 0; i < shots.size(); ++i) {
            const Shot& want = levels[level][i];
            const float angle = want.degrees * Degrees;
            EXPECT_NEAR(shots[i]->Velocity.x, std::cos(angle) * 16, 1e-3f);
            EXPECT_NEAR(shots[i]->Velocity.y, std::sin(angle) * 16, 1e-3f);
            // Launched from the ship + offset, then moved once in the same update.
            const platform::Vec2f start = shots[i]->Location() - shots[i]->Velocity;
            EXPECT_NEAR(start.x - s.a->X(), want.dx, 1e-3f);
            EXPECT_NEAR(start.y - s.a->Y(), want.dy, 1e-3f);
            EXPECT_EQ(shots[i]->ScoreSystem->Energy, 1);
            EXPECT_EQ(shots[i]->Owner, s.a);
            EXPECT_EQ(shots[i]->Image(), PlayerBulletImage);
            EXPECT_EQ(shots[i]->BlendMode, platform::BlendMode::Additive);
        }
        s.game.Frame(7);
        EXPECT_EQ(shoot.Plays(), 2);
    }
}

TEST(Player, OnlyTheCurrentShipFiresAndItsCooldownWaitsWhileItIsNot) {
    Squadron s;
    s.game.Frame(4);  // a: 4 updates of its cool-down
    CurrentPlayer = s.b;
    s.game.Frame(10);
    EXPECT_EQ(s.a->FireCooldown, 2);
    EXPECT_EQ(s.b->FireCooldown, PlayerFireDelay - 3);  // b fired in its 7th update
    CurrentPlayer = s.a;
    s.game.Frame(2);
    EXPECT_EQ(s.a->FireCooldown, 0);
    s.game.Frame();
    EXPECT_EQ(s.a->FireCooldown, PlayerFireDelay);

}

TEST(Player, NothingFiresWhileTheLevelBannerIsStillShowing) {
    Squadron s;
    LevelBanner = TextMessage::New(FrontLayer.get(), nullptr, "LEVEL 1", 568, 320, 1, 1000, 600);
    int faded = 0;
    while (Flying().empty() && s.game.Frames() < 1000) {
        s.game.Frame();
        if (!faded && LevelBanner->Alpha() < 0) faded = s.game.Frames();
    }
    // Shown from 600 ms for 1000 ms, then 20 fading updates; the first burst
    // comes in the 7th update of play after that.
    EXPECT_NEAR(faded, (1600 + 20 * 1000 / 60) * 60 / 1000, 2);
    EXPECT_EQ(s.game.Frames(), faded + 7);
}

TEST(Player, AnEmptyPoolStillSoundsButLightsNoFlashAndSpendsNoTrackerAmmunition) {
    Squadron s;
    while (PlayerBulletPool.Acquire()) {
    }
    TrackerAmmo = 3;
    TrackerTarget = s.c;
    SoundProbe shoot(Shoot2Sound);
    for (int update = 0; update < 31; ++update) s.a->OnUpdate();
    EXPECT_EQ(shoot.Plays(), 4);
    EXPECT_FALSE(s.a->Spark->Enabled());
    EXPECT_FALSE(s.a->TrackerSpark->Enabled());
    EXPECT_EQ(TrackerAmmo, 3);
}

TEST(Player, TrackerShotsEveryThirtyOneUpdatesAtTheTarget) {
    Squadron s;
    TrackerAmmo = 2;
    // The target's kind does not matter to the ship: it aims at where it is.
    TrackerTarget = s.c;
    SoundProbe laser(Laser2Sound);
    auto trackers = [] {
        int n = 0;
        for (const auto& shot : Flying()) n += shot->ScoreSystem->Energy == 2;
        return n;
    };
    for (int update = 0; update < 30; ++update) s.a->OnUpdate();
    EXPECT_EQ(trackers(), 0);
    s.a->OnUpdate();
    ASSERT_EQ(trackers(), 1);
    EXPECT_EQ(TrackerAmmo, 1);
    EXPECT_EQ(laser.Plays(), 1);
    EXPECT_TRUE(s.a->TrackerSpark->Enabled());
    std::shared_ptr<PlayerBullet> tracker;
    for (const auto& shot : Flying()) {
        if (shot->ScoreSystem->Energy == 2) tracker = shot;
    }
    EXPECT_EQ(tracker->Image(), PurpleBulletImage);
    EXPECT_EQ(tracker->Scale, (platform::Vec2f{2, 2}));
    EXPECT_EQ(tracker->Location(), s.a->Location());
    const float angle = std::atan2(s.c->Y() - s.a->Y(), s.c->X() - s.a->X());
    EXPECT_NEAR(tracker->Velocity.x, std::cos(angle) * 16, 1e-3f);
    EXPECT_NEAR(tracker->Velocity.y, std::sin(angle) * 16, 1e-3f);

    // A cool-down that runs out without a target starts again without firing.
    TrackerTarget = nullptr;
    for (int update = 0; update < 31; ++update) s.a->OnUpdate();
    EXPECT_EQ(TrackerAmmo, 1);
    EXPECT_EQ(s.a->TrackerCooldown, PlayerTrackerDelay);
    // No ammunition: nothing counts down.
    TrackerAmmo = 0;
    s.a->OnUpdate();
    EXPECT_EQ(s.a->TrackerCooldown, PlayerTrackerDelay);
}

TEST(Player, ShotsLeavingThePlayAreaReturnToThePoolSoFiringNeverStops) {
    Squadron s;
    // Nothing needs to be seen in this long run: the layers are not drawn,
    // and the HUD and the pointer neither drawn nor updated; most frames are
    // not presented at all (a presented frame waits for its turn at 60 a second).
    s.game.DrawEvery = 100;
    for (const auto& layer : GameScene->Layers) layer->Visible = false;
    GuiRoots[GUI_MODE_PLAY]->Active = false;
    MousePointerRoot->Active = false;
    // Every 31 updates a tracker-like shot goes straight up, as one aimed at
    // an enemy above would when it misses.
    int launchedLast = 0;
    for (int frame = 1; frame <= 10000; ++frame) {
        if (frame % 31 == 0) {
            if (const auto shot = PlayerBulletPool.Acquire()) {
                shot->Launch(s.a, PurpleBulletImage, {0, 0}, -90 * Degrees, 16, 2, 2);
            }
        }
        const int before = static_cast<int>(Flying().size());
        s.game.Frame();
        if (frame > 9900 && static_cast<int>(Flying().size()) > before) ++launchedLast;
    }
    for (const auto& layer : GameScene->Layers) layer->Visible = true;
    GuiRoots[GUI_MODE_PLAY]->Active = true;
    MousePointerRoot->Active = true;
    EXPECT_GT(launchedLast, 10) << "the squadron stopped firing";
    EXPECT_LT(Flying().size(), 10u);
}

TEST(Player, PickupsTakeEffectForTheCurrentShipDuringPlay) {
    const struct {
        const ImageArray* frames;
        const char* name;
        int voice;
    } kinds[] = {{&PowerUpPickupFrames, "POWER UP", 0},
                 {&TrackerPickupFrames, "TRACKER", 2},
                 {&NukePickupFrames, "NUKE", 4},
                 {&ShieldPickupFrames, "SHIELD", 3},
                 {&LaserPickupFrames, "LASER", 1}};
    for (const auto& kind : kinds) {
        Squadron s;
        s.game.Frame();
        SoundProbe pickup(PickupSound);
        SoundProbe voice(Voices[static_cast<std::size_t>(kind.voice)]);
        const auto item = Pickup::New(GameLayer.get(), *kind.frames, s.a->Location());
        s.game.Frame();
        EXPECT_FALSE(item->Layer()) << kind.name;
        EXPECT_EQ(pickup.Plays(), 1) << kind.name;
        EXPECT_EQ(voice.Plays(), 1) << kind.name;
        const auto labels = Labels();
        ASSERT_EQ(labels.size(), 1u) << kind.name;
        EXPECT_EQ(labels[0]->Text, kind.name);
        EXPECT_EQ(labels[0]->Color, (platform::Color{1, 0, 0, 1}));
        EXPECT_EQ(WeaponLevel, kind.voice == 0 ? 1 : 0);
        EXPECT_EQ(TrackerAmmo, kind.voice == 2 ? TRACKER_AMMO_PICKUP : 0);
        EXPECT_EQ(LaserAmmo, kind.voice == 1 ? LASER_AMMO_PICKUP : 0);
        EXPECT_EQ(Flash > 0.9f, kind.voice == 4);
        EXPECT_EQ(s.a->Shield->Enabled(), kind.voice == 3);
        if (kind.voice == 3) {
            EXPECT_EQ(s.a->Shield->ScoreSystem->Energy, 1 + SHIELD_ENERGY_PICKUP);
            EXPECT_EQ(s.a->Shield->Alpha(), SHIELD_ALPHA);
        }
    }

    // The third POWER UP only shows its message.
    Squadron s;
    for (int i = 0; i < 3; ++i) {
        Pickup::New(GameLayer.get(), PowerUpPickupFrames, s.a->Location());
        s.game.Frame();
    }
    EXPECT_EQ(WeaponLevel, 2);
    EXPECT_EQ(Labels().size(), 3u);

    // Not collected by a ship that is not current, nor while the banner shows.
    const auto passing = Pickup::New(GameLayer.get(), LaserPickupFrames, s.b->Location());
    s.game.Frame();
    EXPECT_TRUE(passing->Layer());
    LevelBanner->Alpha(0.5f);
    const auto early = Pickup::New(GameLayer.get(), LaserPickupFrames, s.a->Location());
    s.game.Frame();
    EXPECT_TRUE(early->Layer());
    EXPECT_EQ(LaserAmmo, 0);
}

TEST(Player, TheCurrentShipCatchesMenForAThousandPoints) {
    Squadron s;
    SoundProbe bonus(BonusSound);
    const auto passing = Man::New(GameLayer.get(), ManFrames, s.b->Location());
    s.game.Frame();
    EXPECT_TRUE(passing->Layer());
    EXPECT_EQ(Score, 0);
    const auto caught = Man::New(GameLayer.get(), ManFrames, s.a->Location() + platform::Vec2f{3.7f, 2.2f});
    s.game.Frame();
    EXPECT_FALSE(caught->Layer());
    EXPECT_EQ(Score, 1000);
    EXPECT_EQ(bonus.Plays(), 1);
    const auto labels = Labels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->Text, "1000+");
    EXPECT_EQ(labels[0]->Color, (platform::Color{1, 1, 0, 1}));
    // At the man's truncated position, risen once since.
    EXPECT_EQ(labels[0]->X(), std::trunc(caught->X()));
}

TEST(Player, HitsDrainEnergyOrTheShieldAndTheLastLossEndsTheGame) {
    Squadron s;
    s.game.Frame();
    auto shoot = [&](int energy) {
        const auto shot = AttackerBulletPool.Acquire();
        shot->Launch(SpiderBulletImage, s.c, 0);
        shot->Velocity = {0, 0};
        shot->ScoreSystem->Energy = energy;
        return shot;
    };
    // No shield: both lose each other's energy; the shot is spent.
    auto shot = shoot(1);
    s.a->OnCollision(shot);
    EXPECT_EQ(s.a->ScoreSystem->Energy, PLAYER_ENERGY - 1);
    EXPECT_EQ(s.a->Ship->GhostCount, 1);
    EXPECT_FALSE(shot->Enabled());

    // A shield of 31 takes a blow of 5 and destroys the shot without points.
    s.a->Shield->Enabled(true);
    s.a->Shield->ScoreSystem->Energy = 31;
    shot = shoot(5);
    s.a->OnCollision(shot);
    EXPECT_EQ(s.a->Shield->ScoreSystem->Energy, 26);
    EXPECT_FALSE(shot->Enabled());
    EXPECT_EQ(s.a->ShieldFade, 0.1f);
    EXPECT_EQ(s.a->ScoreSystem->Energy, PLAYER_ENERGY - 1);
    EXPECT_EQ(Score, 0);
    // The pulse: up to 1 by 0.1, down to 0.25 and still.
    s.a->Shield->Alpha(SHIELD_ALPHA);
    float peak = 0;
    for (int update = 0; update < 40; ++update) {
        s.a->OnUpdate();
        peak = std::max(peak, s.a->Shield->Alpha());
    }
    EXPECT_EQ(peak, 1.0f);
    EXPECT_EQ(s.a->Shield->Alpha(), SHIELD_ALPHA);
    EXPECT_EQ(s.a->ShieldFade, 0);
    // A blow of 150 breaks the shield; the ship and the shot are untouched.
    shot = shoot(150);
    s.a->OnCollision(shot);
    EXPECT_FALSE(s.a->Shield->Enabled());
    EXPECT_TRUE(shot->Enabled());
    EXPECT_EQ(shot->ScoreSystem->Energy, 150);
    EXPECT_EQ(s.a->ScoreSystem->Energy, PLAYER_ENERGY - 1);
    shot->Remove();

    // Shots in flight hit through the collision monitor.
    shot = shoot(8);
    shot->Location(s.b->Location());
    s.game.Frame();
    EXPECT_FALSE(s.b->Enabled());
    EXPECT_EQ(ShipsAlive, 2);

    // Losing the last ships during play: the scheduler is cleared, game over.
    auto waiting = std::make_shared<kestrum::framework::Task>();
    GameScheduler->Add(waiting, 100000);
    s.a->Remove();
    s.a->Remove();  // a second call changes nothing
    EXPECT_EQ(ShipsAlive, 1);
    EXPECT_EQ(gameState, STATE_PLAY);
    s.c->OnOutro(nullptr);
    s.c->Remove();
    EXPECT_EQ(ShipsAlive, 0);
    EXPECT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_EQ(GameScheduler->Pending(), 0);

    // Outside play the last loss leaves the state alone.
    Squadron t;
    gameState = STATE_LEVEL_UP + 2;
    for (const auto& ship : {t.a, t.b, t.c}) ship->Remove();
    EXPECT_EQ(ShipsAlive, 0);
    EXPECT_EQ(gameState, STATE_LEVEL_UP + 2);
}
