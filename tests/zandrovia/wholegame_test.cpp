// A whole game through the real state machine: from a fresh start the
// tutorial, then levels 1 to 20 and on to level 1 again, each cleared by
// destroying its enemies with the game's own functions (the nuke for the
// ordinary enemies, shots for the bosses), with the saved level, the level
// bonus and the pools checked at every level change.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/files.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/trailparticle.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::GameDriver;
using kestrum::scenegraph::LayerObjectPtr;

template <typename Pool>
int FreeSlots(const Pool& pool) {
    int free = 0;
    for (int i = 0; i < pool.Count; ++i) free += !pool.Used[static_cast<std::size_t>(i)];
    return free;
}

// Each pool's free slots out of its size, and the live particles.
std::string PoolReport() {
    int live = 0;
    for (const int count : ParticleCounts) live += count;
    return std::to_string(FreeSlots(PlayerBulletPool)) + "/" + std::to_string(PlayerBulletPool.Count) + " " +
           std::to_string(FreeSlots(AttackerBulletPool)) + "/" + std::to_string(AttackerBulletPool.Count) + " " +
           std::to_string(FreeSlots(TankBulletPool)) + "/" + std::to_string(TankBulletPool.Count) + " " +
           std::to_string(FreeSlots(TrailPool)) + "/" + std::to_string(TrailPool.Count) + " " +
           std::to_string(FreeSlots(ParticlePool)) + "/" + std::to_string(ParticlePool.Count) + " live " +
           std::to_string(live);
}

// An update of the Game screen without drawing it, where only time passes.
void Update(GameDriver& game) {
    game.Tick();
    GameScreen->OnUpdate();
}

const std::string FullPools = "18/18 8/8 14/14 16/16 256/256 live 0";

// A boss in play is shot down: a shot of the current ship carrying the
// boss's energy settles the hit as a real one does.
void ShootBosses() {
    std::vector<LayerObjectPtr> bosses;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        const ObjectKind kind = KindOf(object.get());
        if ((kind == ObjectKind::Spider || kind == ObjectKind::Saucer) && object->Enabled()) bosses.push_back(object);
    });
    for (const auto& boss : bosses) {
        const auto shot = PlayerBulletPool.Acquire();
        if (!shot || !CurrentPlayer) return;
        shot->Launch(CurrentPlayer, PlayerBulletImage, {0, 32}, 1.5708f, 16, boss->ScoreSystem->Energy, 1);
        shot->ApplyHit(boss);
    }
}

}  // namespace

TEST(WholeGame, TheTutorialThenLevelsOneToTwentyThenLevelOneAgain) {
    GameDriver game;
    std::remove(PrefsPath().c_str());
    Prefs->Clear();
    // A fresh start, as the menu's new game makes it.
    gameState = STATE_NEW_GAME;
    game.Frame(4);
    ASSERT_EQ(gameState, STATE_PLAY);
    ASSERT_EQ(levelIndex, 0);

    std::vector<int> played{levelIndex};
    for (int change = 0; change < 21; ++change) {
        const int level = levelIndex;
        SCOPED_TRACE("level " + std::to_string(level));
        ASSERT_GT(ShipsAlive, 0);

        // Everything the level schedules comes into play, and is destroyed.
        game.Skip(80000);
        int frames = 0;
        while (gameState == STATE_PLAY && frames < 30) {
            Nuke();
            ShootBosses();
            game.Frame();
            ++frames;
        }
        ASSERT_EQ(gameState, STATE_LEVEL_UP + 1) << frames << " frames, " << AttackersLeft << " enemies left";
        EXPECT_EQ(GameScheduler->Pending(), 0);

        // The level change: the bonus of the level cleared, the next level
        // saved and built, and every pooled object back in its pool.
        while (gameState != STATE_LEVEL_UP + 3) Update(game);
        const int score = Score, ships = ShipsAlive;
        game.Frame();
        ASSERT_EQ(gameState, STATE_LEVEL_UP + 4);
        EXPECT_EQ(Score, score + ships * level);
        const int next = level == 20 ? 1 : level + 1;
        EXPECT_EQ(levelIndex, next);
        const std::string prefs = platform::LoadString(PrefsPath());
        EXPECT_NE(prefs.find("levelIndex=" + std::to_string(next)), std::string::npos) << prefs;
        EXPECT_NE(prefs.find("instructions1=True"), std::string::npos) << prefs;
        EXPECT_EQ(PoolReport(), FullPools);
        played.push_back(levelIndex);
        while (gameState != STATE_PLAY) Update(game);
        game.Frame();
    }

    std::vector<int> expected;
    for (int level = 0; level <= 20; ++level) expected.push_back(level);
    expected.push_back(1);
    EXPECT_EQ(played, expected);
    EXPECT_GT(Score, 0);
}
