// Screenshots of the course of a game as a player sees it: a tutorial hint
// next to the current ship, a wave level in full play, the banner of a
// cleared level and that of the next one, and the end of a game. Saved into ZANDROVIA_SCREENSHOTS (or the test's temporary
// folder).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/image.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::GameDriver;
using kestrum::scenegraph::LayerObjectPtr;

// Near-white pixels of the rectangle (text).
int White(const platform::Pixmap& pixels, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t argb = pixels.GetPixelARGB(x, y);
            const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            count += r > 220 && g > 220 && b > 220;
        }
    }
    return count;
}

std::shared_ptr<platform::Pixmap> Shot(GameDriver& game, const std::string& name) {
    const auto pixels = game.Render();
    if (!pixels) return nullptr;
    const char* folder = std::getenv("ZANDROVIA_SCREENSHOTS");
    const std::string path = std::string(folder && *folder ? folder : testing::TempDir().c_str()) + "/" + name;
    EXPECT_TRUE(pixels->Save(path));
    std::printf("screenshot: %s\n", path.c_str());
    return pixels;
}

void StartFrom(GameDriver& game, const std::string& prefs) {
    game.Reset();
    Prefs->Clear();
    Prefs->Parse(prefs);
    GameScreen->OnStart();
}

// Updates of the Game screen without drawing, while only time passes.
void Updates(GameDriver& game, int count) {
    for (int i = 0; i < count; ++i) {
        game.Tick();
        GameScreen->OnUpdate();
    }
}

int InFlight() {
    int count = 0;
    for (int i = 0; i < PlayerBulletPool.Count; ++i) count += PlayerBulletPool.Item(i)->Enabled();
    return count;
}

}  // namespace

TEST(LevelScreenshots, ATutorialHintLevelTenInPlayAndALevelCleared) {
    GameDriver game;

    // The first hint, under the current ship, while the title has gone.
    StartFrom(game, "");
    game.Skip(2500);
    game.Frame(25);
    auto pixels = Shot(game, "tutorial_hint.png");
    ASSERT_TRUE(pixels);
    EXPECT_GT(White(*pixels, 440, 240, 700, 320), 100);
    EXPECT_LT(White(*pixels, 190, 290, 440, 370), 20);  // the title has gone

    // Level 10 at 50 s: waves in the sky, tanks on the ground, launchers,
    // the first spider coming down; the squadron fires.
    StartFrom(game, "instructions1=True\nlevelIndex=10");
    game.Skip(50500);
    Updates(game, 145);
    game.Frame(5);
    pixels = Shot(game, "level_play.png");
    ASSERT_TRUE(pixels);
    EXPECT_EQ(gameState, STATE_PLAY);
    EXPECT_GT(AttackersLeft, 10);
    EXPECT_GT(InFlight(), 0);

    // Every enemy gone: the banner of the cleared level from 600 ms on.
    std::vector<LayerObjectPtr> enemies;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        switch (KindOf(object.get())) {
            case ObjectKind::Attacker:
            case ObjectKind::Tank:
            case ObjectKind::Spider:
            case ObjectKind::Saucer:
            case ObjectKind::Rocket: enemies.push_back(object); break;
            default: break;
        }
    });
    for (const auto& enemy : enemies) enemy->Remove();
    game.Frame(45);
    EXPECT_EQ(gameState, STATE_LEVEL_UP + 1);
    pixels = Shot(game, "level_cleared.png");
    ASSERT_TRUE(pixels);
    EXPECT_GT(White(*pixels, 300, 290, 836, 350), 200);

    // The next level fades in and shows its number from 600 ms on.
    int updates = 0;
    while (gameState != STATE_PLAY && updates++ < 400) Updates(game, 1);
    ASSERT_EQ(levelIndex, 11);
    Updates(game, 30);
    pixels = Shot(game, "level_banner.png");
    ASSERT_TRUE(pixels);
    EXPECT_GT(White(*pixels, 300, 270, 836, 370), 200);
}

TEST(LevelScreenshots, GameOver) {
    GameDriver game;
    // The last ship goes once the level's banner has faded.
    StartFrom(game, "instructions1=True\nlevelIndex=4");
    Updates(game, 120);
    std::vector<LayerObjectPtr> ships;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        if (KindOf(object.get()) == ObjectKind::Player) ships.push_back(object);
    });
    for (const auto& ship : ships) ship->Remove();
    Updates(game, 2);
    ASSERT_EQ(gameState, STATE_GAME_OVER + 3);
    Updates(game, 60);
    const auto pixels = Shot(game, "game_over.png");
    ASSERT_TRUE(pixels);
    EXPECT_GT(White(*pixels, 300, 290, 836, 350), 200);
}
