// The auto-laser: targets within reach by Manhattan distance, the burst of
// six updates that destroys its target, the ammunition, and the tracker's
// wait for a first laser target. The Game screen runs the targeting after
// its state update, which with no enemy in play has turned to level-up, so
// the tests run the targeting steps themselves in the driver's world.
#include <gtest/gtest.h>

#include <vector>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/player.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/targeting.h"

namespace {

using gamedriver::GameDriver;
using gamedriver::SoundProbe;

// A game in play with one ship on spot 3 at (568, 96), with no shots of its own.
struct Range {
    GameDriver game;
    std::shared_ptr<Player> ship;
    Range() {
        game.StartPlay();
        ship = game.AddShip(3);
    }
    // The targeting steps of one Game update.
    void Update(int count = 1) {
        for (int i = 0; i < count; ++i) {
            UpdateClosestLaserTarget(GameLayer.get());
            UpdateClosestLaserTarget(BulletsLayer.get());
            UpdateClosestTrackerTarget(GameLayer.get());
            UpdateLaser();
        }
    }
    // A still shell at (dx, dy) from the ship.
    std::shared_ptr<TankBullet> Shell(float dx, float dy) {
        const auto shell = TankBulletPool.Acquire();
        shell->Launch(ship, 0, 0);
        shell->Velocity = {0, 0};
        shell->Location(ship->Location() + platform::Vec2f{dx, dy});
        return shell;
    }
};

}  // namespace

TEST(Targeting, CandidatesWithinReachAndTheReplacementRule) {
    // (offsets of candidates in filing order) -> index of the target chosen
    const struct {
        std::vector<platform::Vec2f> at;
        int chosen;
    } cases[] = {
        {{{319, 0}}, 0},                   // truncated 319 is in reach
        {{{320, 0}}, -1},                  // 320 is not
        {{{200.5f, 119.9f}}, -1},          // 320.4 truncates to 320: out of reach
        {{{0, 100.5f}, {0, 100.9f}}, 1},   // 100.5 > Int(100.9) = 100: replaced
        {{{0, 100}, {100, 0}}, 0},         // equal: kept
        {{{-50, 50}, {10, -20}}, 1},       // closer wins
        {{{10, -20}, {-50, 50}}, 0},
    };
    for (const auto& c : cases) {
        Range r;
        std::vector<std::shared_ptr<TankBullet>> shells;
        for (const auto& offset : c.at) shells.push_back(r.Shell(offset.x, offset.y));
        r.Update();
        const auto expected = c.chosen < 0 ? nullptr : shells[static_cast<std::size_t>(c.chosen)];
        EXPECT_EQ(LaserTarget, expected) << c.at[0].x << "," << c.at[0].y;
        // Without ammunition the beam stays off.
        EXPECT_FALSE(PlayerLaser->Enabled());
    }
}

TEST(Targeting, ABurstOfSixUpdatesDestroysItsTargetAndScoresAShot) {
    Range r;
    SoundProbe laser(Laser1Sound);
    LaserAmmo = 1;
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(SpiderBulletImage, r.ship, 0);
    shot->Velocity = {0, 0};
    shot->Location(r.ship->Location() + platform::Vec2f{100, 50});
    const platform::Vec2f at = shot->Location();
    std::vector<float> alphas;
    for (int update = 1; update <= 5; ++update) {
        r.Update();
        ASSERT_TRUE(PlayerLaser->Enabled()) << update;
        alphas.push_back(PlayerLaser->Alpha());
        EXPECT_EQ(PlayerLaser->Location(), r.ship->Location());
        EXPECT_EQ(PlayerLaser->Location2(), at);
        EXPECT_EQ(PlayerLaser->Glows[1]->Location(), at);
        EXPECT_EQ(PlayerLaser->Glows[0]->Alpha(), PlayerLaser->Alpha());
        EXPECT_TRUE(shot->Enabled());
        EXPECT_EQ(LaserAmmo, 0);
    }
    EXPECT_EQ(laser.Plays(), 1);
    EXPECT_FLOAT_EQ(alphas[0], 0.8f);
    EXPECT_FLOAT_EQ(alphas[3], 0.2f);
    EXPECT_GE(alphas[4], 0.0f);  // the fifth update stays just above 0
    r.Update();
    EXPECT_FALSE(shot->Enabled());
    EXPECT_FALSE(PlayerLaser->Enabled());
    EXPECT_FALSE(PlayerLaser->Glows[0]->Enabled());
    EXPECT_EQ(Score, 10);
    std::shared_ptr<ScoreMessage> label;
    for (const auto& object : FrontLayer->GetAllLayerObjects(true, true)) {
        if (auto found = std::dynamic_pointer_cast<ScoreMessage>(object)) label = found;
    }
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Text, "10+");
    EXPECT_EQ(label->Color, (platform::Color{0, 1, 0, 1}));
    EXPECT_EQ(label->X(), static_cast<float>(static_cast<int>(at.x)));
    // The kill used the only unit: no new burst.
    r.Shell(20, 20);
    r.Update(3);
    EXPECT_FALSE(PlayerLaser->Enabled());
    EXPECT_EQ(laser.Plays(), 1);
}

TEST(Targeting, TheTargetIsFollowedOutOfReachAndABurstEndsWhenItIsGone) {
    Range r;
    LaserAmmo = 5;
    const auto far = r.Shell(100, 100);
    r.Update();
    ASSERT_EQ(LaserTarget, far);
    // Moved out of reach and a closer one comes: the burst keeps its target.
    far->Location(r.ship->Location() + platform::Vec2f{600, 0});
    const auto near = r.Shell(10, 10);
    r.Update();
    EXPECT_EQ(LaserTarget, far);
    EXPECT_EQ(PlayerLaser->Location2(), far->Location());
    // Gone by other means: the beam goes off; the spent unit stays spent.
    far->Remove();
    r.Update();
    EXPECT_FALSE(PlayerLaser->Enabled());
    EXPECT_EQ(LaserAmmo, 4);
    // The next update picks the one in reach and starts a new burst.
    r.Update();
    EXPECT_EQ(LaserTarget, near);
    EXPECT_TRUE(PlayerLaser->Enabled());
    EXPECT_EQ(LaserAmmo, 3);
    // No tracker target without a tracker candidate (attackers, rockets, tanks, spiders).
    EXPECT_EQ(TrackerTarget, nullptr);
}
