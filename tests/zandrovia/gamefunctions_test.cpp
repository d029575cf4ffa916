// The game functions: what keeps a level open, when play is on, the nuke,
// the backdrop of a level and the ground line.
#include "zandrovia/gamefunctions.h"

#include <gtest/gtest.h>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layersprite.h"
#include "kestrum-scenegraph/scene.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/backgroundsprite.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/man.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/textmessage.h"

namespace {

using gamedriver::GameDriver;
using gamedriver::SoundProbe;

}  // namespace

TEST(GameFunctions, ShipsMenPickupsAndShotsKeepNoLevelOpen) {
    GameDriver game;
    game.AddShip(0);
    Man::New(GameLayer.get(), ManFrames, {10, 10});
    Pickup::New(GameLayer.get(), LaserPickupFrames, {10, 10});
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(SpiderBulletImage, CurrentPlayer, 90);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
    EXPECT_EQ(CountAttackers(BulletsLayer.get()), 0);
    EXPECT_EQ(CountAttackers(nullptr), 0);
}

TEST(GameFunctions, PlayIsOnOnlyWithShipsAndAFadedBanner) {
    GameDriver game;
    // (state, ships, banner alpha or none) -> on
    const struct {
        int state;
        bool ship;
        bool banner;
        float alpha;
        bool on;
    } cases[] = {
        {STATE_PLAY, true, true, -0.05f, true},  {STATE_PLAY, true, false, 0, false},
        {STATE_PLAY, true, true, 0.0f, false},   {STATE_PLAY, true, true, 0.5f, false},
        {STATE_PLAY, false, true, -0.05f, false}, {STATE_LEVEL_UP, true, true, -0.05f, false},
        {STATE_GAME_OVER, true, true, -0.05f, false},
    };
    for (const auto& c : cases) {
        game.Reset();
        if (c.ship) game.AddShip(0);
        if (c.banner) {
            LevelBanner = TextMessage::New(nullptr, nullptr, "LEVEL 1", 0, 0, 1, 1000, 0);
            LevelBanner->Alpha(c.alpha);
        }
        gameState = c.state;
        EXPECT_EQ(GameOn(), c.on) << c.state << " " << c.ship << " " << c.banner << " " << c.alpha;
    }
}

TEST(GameFunctions, TheNukeFlashesAndSwitchesTheLaserOff) {
    GameDriver game;
    SoundProbe boom(Explosion1Sound);
    const auto ship = game.AddShip(0);
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(SpiderBulletImage, ship, 90);
    PlayerLaser->Enabled(true);
    Nuke();
    EXPECT_EQ(Flash, 1);
    EXPECT_FALSE(PlayerLaser->Enabled());
    EXPECT_EQ(boom.Plays(), 1);
    // Only GameLayer is searched: ships stay, and enemy shots in BulletsLayer too.
    EXPECT_TRUE(ship->Enabled());
    EXPECT_TRUE(shot->Enabled());
}

TEST(GameFunctions, EachLevelBuildsTheNextBackdropAndTheGround) {
    GameDriver game;
    for (int level = 1; level <= 8; ++level) {
        const int gas = GasVariant, planet = PlanetVariant, soilVariant = SoilVariant, rocks = RocksVariant;
        EXPECT_EQ(gas, (level - 1) % 4 + 1);
        EXPECT_EQ(planet, (level - 1) % 7 + 1);
        EXPECT_EQ(soilVariant, (level - 1) % 6 + 1);
        EXPECT_EQ(rocks, (level - 1) % 3 + 1);
        GameScene->ClearLayers();
        InitBackground();
        const auto back = BackgroundLayer->GetAllLayerObjects(true, true);
        ASSERT_EQ(back.Length(), 4);
        const auto gasSprite = std::dynamic_pointer_cast<BackgroundSprite>(back[0]);
        const auto planetSprite = std::dynamic_pointer_cast<BackgroundSprite>(back[1]);
        ASSERT_TRUE(gasSprite && planetSprite);
        EXPECT_EQ(gasSprite->RotationSpeed, -0.0005f);
        EXPECT_EQ(planetSprite->RotationSpeed, 0.0005f);
        EXPECT_GE(gasSprite->ScaleX(), 1.0f);
        EXPECT_LE(gasSprite->ScaleX(), 1.5f);
        EXPECT_NEAR(gasSprite->X(), 568, 128);
        EXPECT_NEAR(planetSprite->Y(), 320, 320);
        const auto haze = back[3];
        EXPECT_EQ(haze->ScaleX(), 1136);
        EXPECT_EQ(haze->Y(), 640 - haze->Height() / 2);
        ASSERT_TRUE(soil);
        EXPECT_EQ(soil->Layer(), FrontLayer.get());
        EXPECT_GT(soil->Height(), 0);
        EXPECT_EQ(soil->Y(), 640 - soil->Height() / 2);
        EXPECT_EQ(soil->Scale, (platform::Vec2f{1, 1}));  // only widths above 1200 stretch it
        EXPECT_EQ(GroundLine(), 640 - soil->Height());
    }
    // The random draws are the same in every run.
    game.Reset();
    InitBackground();
    const float first = BackgroundLayer->GetAllLayerObjects(true, true)[0]->X();
    game.Reset();
    InitBackground();
    EXPECT_EQ(BackgroundLayer->GetAllLayerObjects(true, true)[0]->X(), first);
    EXPECT_EQ(Right("Zandrovia", 3), "via");
}
