// The Game screen's set-up, run by the real screen manager after the loader:
// the scene, its layers and pools, the laser, the start spots and the music.
#include <gtest/gtest.h>

#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/collisionmonitor.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "platform/app.h"
#include "platform/input.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/trailparticle.h"
#include "zandrovia/zandrovia.h"

namespace {

using kestrum::scenegraph::Layer;

// The objects of a layer by class, in grid order.
struct Census {
    int tank = 0, attacker = 0, player = 0, trail = 0, particle = 0, laser = 0, glow = 0, other = 0;
    int enabled = 0, readers = 0, writers = 0, tattooed = 0;
};

Census Count(const Layer& layer) {
    Census c;
    for (const auto& object : layer.GetAllLayerObjects(true, true)) (void)object, ++c.enabled;
    for (bool enabled : {true, false}) {
        for (bool visible : {true, false}) {
            for (const auto& object : layer.GetAllLayerObjects(enabled, visible)) {
                const auto* o = object.get();
                if (dynamic_cast<const TankBullet*>(o)) ++c.tank;
                else if (dynamic_cast<const AttackerBullet*>(o)) ++c.attacker;
                else if (dynamic_cast<const PlayerBullet*>(o)) ++c.player;
                else if (dynamic_cast<const TrailParticle*>(o)) ++c.trail;
                else if (dynamic_cast<const PooledParticle*>(o)) ++c.particle;
                else if (dynamic_cast<const Laser*>(o)) ++c.laser;
                else if (PlayerLaser && (object == PlayerLaser->Glows[0] || object == PlayerLaser->Glows[1])) ++c.glow;
                else ++c.other;
                c.readers += o->CollisionRead();
                c.writers += o->CollisionWrite();
                c.tattooed += o->Tattooed;
            }
        }
    }
    return c;
}

}  // namespace

TEST(GameSetUp, BuildsTheWorldOnceWithItsLayersPoolsLaserAndStartSpots) {
    gamedriver::GameDriver game;
    ASSERT_EQ(AppWindow->CurrentScreen(), GameScreen.get());
    EXPECT_FALSE(GameScreen->RunOncePending);
    EXPECT_FALSE(platform::Mouse().PointerVisible());

    ASSERT_TRUE(GameScene);
    ASSERT_TRUE(GameScene->CollisionMonitor);
    ASSERT_TRUE(GameCamera);
    EXPECT_EQ(GameCamera->VirtualWidth(), 1136);
    EXPECT_EQ(GameCamera->VirtualHeight(), 640);
    ASSERT_EQ(GameScene->Layers.Length(), 5);
    const std::shared_ptr<Layer> order[] = {BackgroundLayer, GameLayer, BulletsLayer, EffectsLayer, FrontLayer};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(GameScene->Layers[i], order[i]) << i;
        EXPECT_EQ(order[i]->TileSize(), (platform::Vec2i{1136, 1136}));
    }

    const Census bullets = Count(*BulletsLayer);
    EXPECT_EQ(bullets.tank, 14);
    EXPECT_EQ(bullets.attacker, 8);
    EXPECT_EQ(bullets.player, 18);
    EXPECT_EQ(bullets.other, 0);
    EXPECT_EQ(bullets.enabled, 0);
    EXPECT_EQ(bullets.readers, 18);
    EXPECT_EQ(bullets.writers, 22);
    EXPECT_EQ(bullets.tattooed, 40);
    const Census effects = Count(*EffectsLayer);
    EXPECT_EQ(effects.trail, 16);
    EXPECT_EQ(effects.particle, 256);
    EXPECT_EQ(effects.laser, 1);
    EXPECT_EQ(effects.glow, 2);
    EXPECT_EQ(effects.other, 0);
    EXPECT_EQ(effects.enabled, 0);
    for (const auto& layer : {BackgroundLayer, GameLayer, FrontLayer}) EXPECT_EQ(layer->CountLayerObjects(), 0);
    EXPECT_EQ(TankBulletPool.Count, 14);
    EXPECT_EQ(AttackerBulletPool.Count, 8);
    EXPECT_EQ(PlayerBulletPool.Count, 18);
    EXPECT_EQ(TrailPool.Count, 16);
    EXPECT_EQ(ParticlePool.Count, 256);
    for (int i = 0; i < 14; ++i) {
        const auto shell = TankBulletPool.Item(i);
        EXPECT_EQ(shell->Image(), TankBulletImage);
        EXPECT_EQ(shell->BlendMode, platform::BlendMode::Additive);
        EXPECT_EQ(shell->PoolIndex, i);
        EXPECT_TRUE(shell->ScoreSystem);
    }

    // The laser: transparent, disabled, tattooed, in no task manager.
    ASSERT_TRUE(PlayerLaser);
    EXPECT_FALSE(PlayerLaser->Enabled());
    EXPECT_EQ(PlayerLaser->Alpha(), 0);
    EXPECT_TRUE(PlayerLaser->Tattooed);
    EXPECT_TRUE(PlayerLaser->Floating);
    EXPECT_FALSE(PlayerLaser->TaskManager());
    EXPECT_EQ(PlayerLaser->Image(), LaserGreenImage);
    for (const auto& glow : PlayerLaser->Glows) {
        EXPECT_FALSE(glow->Enabled());
        EXPECT_TRUE(glow->Tattooed);
        EXPECT_EQ(glow->Color, (platform::Color{0, 1, 0, 1}));
        EXPECT_EQ(glow->Scale, (platform::Vec2f{0.5f, 0.5f}));
    }
    // Removing the beam or clearing the layers leaves it where it is.
    PlayerLaser->Remove();
    PlayerLaser->Glows[1]->Remove();
    GameScene->ClearLayers();
    EXPECT_EQ(PlayerLaser->Layer(), EffectsLayer.get());
    EXPECT_EQ(PlayerLaser->Glows[1]->Layer(), EffectsLayer.get());
    EXPECT_EQ(Count(*EffectsLayer).particle, 256);

    ASSERT_EQ(StartSpots.size(), 14u);
    const int xs[] = {142, 284, 426, 568, 710, 852, 994};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(StartSpots[static_cast<std::size_t>(k)], (platform::Vec2i{xs[k], 96})) << k;
        EXPECT_EQ(StartSpots[static_cast<std::size_t>(k + 7)], (platform::Vec2i{xs[k], 192})) << k;
    }

    ASSERT_TRUE(CameraShake);
    EXPECT_EQ(CameraShake->Target, GameCamera);
    for (const auto& root : GuiRoots) EXPECT_TRUE(root);
    EXPECT_TRUE(MousePointerRoot);
    // The music plays, as the switch is on.
    ASSERT_TRUE(Music);
    ASSERT_TRUE(MusicChannel);
    EXPECT_TRUE(MusicChannel->Playing());
}

TEST(GameSetUp, ANewStartBuildsNothingAgain) {
    gamedriver::GameDriver game;
    const auto scene = GameScene;
    const auto laser = PlayerLaser;
    game.Frame(2);
    // A new game makes the screen current again: it is stopped, then started.
    GameScreen->Set();
    game.Frame(3);
    EXPECT_TRUE(GameScreen->Started);
    EXPECT_EQ(GameScene, scene);
    EXPECT_EQ(PlayerLaser, laser);
    EXPECT_EQ(GameScene->Layers.Length(), 5);
    EXPECT_EQ(TankBulletPool.Count + AttackerBulletPool.Count + PlayerBulletPool.Count, 40);
    EXPECT_EQ(TrailPool.Count, 16);
    EXPECT_EQ(ParticlePool.Count, 256);
    EXPECT_EQ(BulletsLayer->CountLayerObjects(), 40);
}

TEST(GameSetUp, MissingImagesAndSoundsDrawAndPlayNothingAndNeverCrash) {
    gamedriver::GameDriver game;
    // Every image and sound the squadron uses, as a failed load leaves them.
    const auto nulls = std::make_shared<std::vector<platform::ImagePtr>>(16);
    const ImageArray frames = PlayerFrames, ghosts = PlayerGhostFrames, laserFrames = LaserPickupFrames;
    const platform::ImagePtr images[] = {ShieldImage, SparkBlueImage, PlayerBulletImage, LaserGreenImage};
    const platform::SoundPtr sounds[] = {Shoot2Sound, PickupSound, Voices[1], Explosion2Sound};
    PlayerFrames = PlayerGhostFrames = nulls;
    LaserPickupFrames = std::make_shared<std::vector<platform::ImagePtr>>(20);
    ShieldImage = SparkBlueImage = PlayerBulletImage = LaserGreenImage = nullptr;
    Shoot2Sound = PickupSound = Voices[1] = Explosion2Sound = nullptr;

    game.StartPlay();
    game.HoldPlay = true;
    const auto ship = game.AddShip(3);
    EXPECT_EQ(ship->Width(), 0);
    EXPECT_EQ(ship->Height(), 0);
    const auto laser = Laser::New(EffectsLayer.get());
    laser->Alpha(1);
    laser->Location({0, 0});
    laser->Location2({1136, 640});
    laser->Enabled(true);
    Pickup::New(GameLayer.get(), LaserPickupFrames, ship->Location());
    game.Frame(20);
    // The HUD and the pointer are not what this looks at.
    GuiRoots[GUI_MODE_PLAY]->Active = false;
    MousePointerRoot->Active = false;
    const auto pixels = game.Render();
    GuiRoots[GUI_MODE_PLAY]->Active = true;
    MousePointerRoot->Active = true;
    ASSERT_TRUE(pixels);
    // Nothing of the ship, its shots or the beam: the picture stays black.
    int lit = 0;
    for (int y = 0; y < 640; y += 2) {
        for (int x = 0; x < 1136; x += 2) lit += (pixels->GetPixelARGB(x, y) & 0xFFFFFFu) != 0;
    }
    EXPECT_EQ(lit, 0);
    ship->OnOutro(nullptr);
    ship->Remove();
    laser->Enabled(false);
    laser->Tattooed = false;
    laser->Remove();

    PlayerFrames = frames;
    PlayerGhostFrames = ghosts;
    LaserPickupFrames = laserFrames;
    ShieldImage = images[0], SparkBlueImage = images[1], PlayerBulletImage = images[2], LaserGreenImage = images[3];
    Shoot2Sound = sounds[0], PickupSound = sounds[1], Voices[1] = sounds[2], Explosion2Sound = sounds[3];
}
