// Zandrovia: the level scripts and their table.
#include "zandrovia/levels.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/font.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layersprite.h"
#include "platform/audio.h"
#include "platform/text.h"
#include "zandrovia/attacker.h"
#include "zandrovia/constants.h"
#include "zandrovia/crusher.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/launcher.h"
#include "zandrovia/localization.h"
#include "zandrovia/player.h"
#include "zandrovia/saucer.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"

std::array<LevelScript, LevelCount> Levels{};

int CargoEnergy = 10, CargoScore = 100;
int HunterEnergy = 5, HunterScore = 50;
int SawcerEnergy = 3, SawcerScore = 30;
int LauncherEnergy = 25, LauncherScore = 250;
int RocketEnergy = 3, RocketScore = 30;
int TankEnergy = 10, TankScore = 100;
int TankBulletEnergy = 1, TankBulletScore = 10;
int SaucerEnergy = 150, SaucerScore = 1500;
int SpiderEnergy = 125, SpiderScore = 1250;

int WaveTime0 = 3750, WaveTime1 = 20000, WaveTime2 = 35000, WaveTime3 = 50000, WaveTime4 = 60000,
    WaveTime5 = 65000;

void InitLevelsFile() {
    CargoEnergy = 10, CargoScore = 100;
    HunterEnergy = 5, HunterScore = 50;
    SawcerEnergy = 3, SawcerScore = 30;
    LauncherEnergy = 25, LauncherScore = 250;
    RocketEnergy = 3, RocketScore = 30;
    TankEnergy = 10, TankScore = 100;
    TankBulletEnergy = 1, TankBulletScore = 10;
    SaucerEnergy = 150, SaucerScore = 1500;
    SpiderEnergy = 125, SpiderScore = 1250;
    Levels = {Level00, Level01, Level02, Level03, Level04, Level05, Level06, Level07, Level08, Level09, Level10,
              Level11, Level12, Level13, Level14, Level15, Level16, Level17, Level18, Level19, Level20};
    WaveTime0 = 3750;
    WaveTime1 = 20000;
    WaveTime2 = 35000;
    WaveTime3 = 50000;
    WaveTime4 = 60000;
    WaveTime5 = 65000;
}

namespace {

// --- What a wave script is made of -------------------------------------------------

// One call of an attacker spawner: count attackers, the first starting delay
// ms from now, the others spacing ms apart.
struct Wave {
    void (*spawn)(int count, int delay, int spacing);
    int count;
    int delay;
    int spacing;
};

// The spawners of eight sawcers or hunters, in the shape of the cargo spawners.
template <void (*Spawner)(int, int)>
void EightOf(int, int delay, int spacing) {
    Spawner(delay, spacing);
}

// The calls as the scripts name them: sawcers, hunters and cargo ships from
// the left or the right edge.
Wave SL(int delay, int spacing) { return {EightOf<Attacker::SawcersLeft>, 8, delay, spacing}; }
Wave SR(int delay, int spacing) { return {EightOf<Attacker::SawcersRight>, 8, delay, spacing}; }
Wave HL(int delay, int spacing) { return {EightOf<Attacker::HuntersLeft>, 8, delay, spacing}; }
Wave HR(int delay, int spacing) { return {EightOf<Attacker::HuntersRight>, 8, delay, spacing}; }
Wave CL(int count, int delay, int spacing) { return {Attacker::CargoLeft, count, delay, spacing}; }
Wave CR(int count, int delay, int spacing) { return {Attacker::CargoRight, count, delay, spacing}; }

// A boss placed above the top edge at the fraction x of the view's width; a
// warning sound that is not null is scheduled when the boss starts.
struct Boss {
    void (*top)(int delay, int x, const platform::SoundPtr& warning);
    int delay;
    float x;
    platform::SoundPtr warning;
};

template <typename T>
void TopOf(int delay, int x, const platform::SoundPtr& warning) {
    T::Top(delay, x, warning);
}

Boss SpiderAt(int delay, float x, const platform::SoundPtr& warning) { return {TopOf<Spider>, delay, x, warning}; }
Boss SaucerAt(int delay, float x, const platform::SoundPtr& warning) { return {TopOf<Saucer>, delay, x, warning}; }

// One level's row: the start spots of the ships in creation order, the
// notes on the sprite set and the debug keys (level 1), the crusher's start
// delay (none below 0), the launchers' x fractions, the tank count, the
// pick-ups of the 1st, 2nd, ... destroyed tank (P POWER UP, T TRACKER,
// N NUKE, S SHIELD, L LASER, - none), the attacker waves and the bosses in
// call order.
struct WaveScript {
    std::vector<int> ships = {};
    bool notes = false;
    int crusher = -1;
    std::vector<float> launchers = {};
    int tanks = 0;
    std::string pickups = {};
    std::vector<Wave> waves = {};
    std::vector<Boss> bosses = {};
};

const std::vector<int> AllSpots{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

// The twelve waves of levels 13 and 14.
std::vector<Wave> SawcersThenHunters() {
    return {SL(WaveTime0, 1000), SR(WaveTime0, 1000), SR(WaveTime1, 1000), SL(WaveTime1, 1000),
            SL(WaveTime2, 1000), SR(WaveTime2, 1000), HL(WaveTime3, 1000), HR(WaveTime3, 1000),
            HR(WaveTime4, 1000), HL(WaveTime4, 1000), HL(WaveTime5, 1000), HR(WaveTime5, 1000)};
}

int ViewW() { return GameCamera ? GameCamera->VirtualWidth() : 0; }
int ViewH() { return GameCamera ? GameCamera->VirtualHeight() : 0; }

// The point at the fractions of the view's width and height.
platform::Vec2i InView(float x, float y) {
    return {static_cast<int>(static_cast<float>(ViewW()) * x), static_cast<int>(static_cast<float>(ViewH()) * y)};
}

ImageArray PickupFrames(char kind) {
    switch (kind) {
        case 'P': return PowerUpPickupFrames;
        case 'T': return TrackerPickupFrames;
        case 'N': return NukePickupFrames;
        case 'S': return ShieldPickupFrames;
        case 'L': return LaserPickupFrames;
        default: return nullptr;
    }
}

void AddShips(const std::vector<int>& spots) {
    for (const int spot : spots) Player::New(GameLayer.get(), StartSpots.at(static_cast<std::size_t>(spot)));
}

// A tank just outside the left edge, resting on the soil, starting delay ms from now.
void AddTank(int delay) {
    const auto tank = Tank::New(GameLayer.get());
    tank->X(-(tank->Width() * 0.5f));
    const float soilY = soil ? soil->Y() : static_cast<float>(ViewH());
    tank->Y(soilY - (SoilHeight() + tank->Height()) * 0.5f);
    GameScheduler->Add(tank, delay);
}

// A text in the middle of the view, shown for a second after the delay; it
// becomes LevelBanner.
void Banner(const std::string& text, int y, int delay) {
    LevelBanner = TextMessage::New(FrontLayer.get(), kestrum::framework::Content->GetFont(TextFont, 128), text,
                                   InView(0.5f, 0.5f).x, y, 1, 1000, delay);
}

// The notes on the sprite set and the debug keys.
void Notes() {
    const int y = InView(0.5f, 0.7f).y;
    if (!SpriteSet.empty()) Banner("HD", y, 0);
    if (CheatKeys) {
        Banner("DEBUG KEYS ON!", y, 0);
        const float soilY = soil ? soil->Y() : 0.0f;
        std::printf("camVheight: %d, soil.Y: %s soil.Height: %s\n", ViewH(), platform::FromFloat(soilY).c_str(),
                    platform::FromFloat(SoilHeight()).c_str());
        std::fflush(stdout);
    }
}

void Run(const WaveScript& script) {
    InitBackground();
    AddShips(script.ships);
    if (script.notes) Notes();
    if (script.crusher >= 0) Crusher::New(GameLayer.get(), script.crusher);

    const int ground = static_cast<int>(static_cast<float>(ViewH()) - SoilHeight());
    for (const float f : script.launchers) {
        Launcher::New(GameLayer.get(), {static_cast<int>(static_cast<float>(ViewW()) * f), ground});
    }
    for (int k = 1; k <= script.tanks; ++k) AddTank(k * WaveTime0);
    for (const Wave& wave : script.waves) wave.spawn(wave.count, wave.delay, wave.spacing);
    for (const Boss& boss : script.bosses) {
        boss.top(boss.delay, static_cast<int>(static_cast<float>(ViewW()) * boss.x), boss.warning);
    }

    LevelPickups.clear();
    for (const char kind : script.pickups) LevelPickups.push_back(PickupFrames(kind));

    Banner("LEVEL " + std::to_string(levelIndex), InView(0.5f, 0.5f).y, 600);
}

// --- The tutorial's hints ------------------------------------------------------------

struct Hint {
    const char* key;
    int size;
    // The width the text is broken into lines at; 0: one line.
    int width;
    platform::Vec2i position;
    int spacing;
    int delay;
};

// Below a start spot, where the hint talks about the ship standing there.
platform::Vec2i BelowSpot(int spot) {
    const platform::Vec2i at = StartSpots.at(static_cast<std::size_t>(spot));
    return {at.x, at.y + 60};
}

void ShowHint(const Hint& hint) {
    const std::string text = morvane::locale::Localize(hint.key);
    const platform::FontPtr font = kestrum::framework::Content->GetFont(TitleFont, static_cast<float>(hint.size));
    std::vector<std::string> lines{text};
    if (hint.width > 0) lines = kestrum::framework::FitText(font, text, hint.width, "\n");
    int y = hint.position.y;
    for (const std::string& line : lines) {
        LevelBanner = TextMessage::New(FrontLayer.get(), font, line, hint.position.x, y, 1, 5000, hint.delay);
        y += hint.spacing;
    }
}

}  // namespace

// --- The levels ----------------------------------------------------------------------

void Level00() {
    InitBackground();
    Banner("Tutorial", InView(0.5f, 0.5f).y, 0);
    const Hint hints[] = {
        {"tut_ship", 21, 180, BelowSpot(10), 18, 2000},
        {"tut_switch", 21, 180, BelowSpot(0), 18, 7000},
        {"tut_enemiesnum", 21, 180, {260, 15}, 18, 12000},
        {"tut_enemieshere", 21, 0, InView(0.5f, 0.8f), 0, 17000},
        {"tut_takecare", 30, 360, BelowSpot(10), 27, 22000},
    };
    for (const Hint& hint : hints) ShowHint(hint);
    AddShips({10, 0, 6});
    AddTank(27000);
    AddTank(27000 + 2 * WaveTime0);
}

void Level01() {
    Run({.ships = {10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13},
         .notes = true,
         .tanks = 13,
         .pickups = "---P",
         .waves = {CL(2, WaveTime1, 5000), CR(2, WaveTime1, 5000), SL(WaveTime2, 1000)}});
}

void Level02() {
    Run({.ships = {10, 1, 2, 3, 4, 5, 9, 11},
         .tanks = 13,
         .pickups = "-----P-T",
         .waves = {CL(2, WaveTime1, 5000), CR(2, WaveTime1, 5000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   SR(WaveTime3, 1000)}});
}

void Level03() {
    Run({.ships = {10, 1, 2, 3, 4, 5, 9, 11},
         .launchers = {0.75f},
         .tanks = 13,
         .pickups = "---P--P-S",
         .waves = {CL(2, WaveTime1, 5000), CR(2, WaveTime1, 5000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   SR(WaveTime3, 1000), HL(WaveTime4, 1000), HR(WaveTime4, 1000)}});
}

void Level04() {
    Run({.ships = {10, 2, 3, 4, 9, 11},
         .launchers = {0.25f},
         .tanks = 13,
         .pickups = "-P---L-P",
         .waves = {CL(4, WaveTime1, 5000), CR(4, WaveTime1, 5000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   HL(WaveTime3, 1000), HR(WaveTime3, 1000)}});
}

void Level05() {
    Run({.ships = {2, 3, 4, 8, 9, 10, 11, 12},
         .launchers = {0.75f},
         .tanks = 13,
         .pickups = "-P-P-S-T----",
         .waves = {CL(6, WaveTime1, 5000), CR(6, WaveTime1, 5000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   HL(WaveTime3, 1000), HR(WaveTime3, 1000), HL(WaveTime4, 1000), HR(WaveTime4, 1000)},
         .bosses = {SpiderAt(WaveTime5, 0.5f, WarningSound)}});
}

void Level06() {
    Run({.ships = {2, 3, 4, 8, 9, 10, 11, 12},
         .launchers = {0.375f, 0.5f, 0.625f},
         .tanks = 7,
         .pickups = "P--P",
         .waves = {CL(8, WaveTime1, 1000), SR(WaveTime2, 1000)}});
}

void Level07() {
    Run({.ships = {1, 2, 3, 4, 5, 9, 10, 11},
         .launchers = {0.25f, 0.375f, 0.5f, 0.625f},
         .tanks = 9,
         .pickups = "P----P",
         .waves = {CL(8, WaveTime1, 1000), SR(WaveTime1, 1000)}});
}

void Level08() {
    Run({.ships = {10, 1, 2, 3, 4, 5, 9, 11},
         .launchers = {0.25f, 0.375f, 0.5f, 0.625f, 0.75f},
         .tanks = 12,
         .pickups = "-P--P-T",
         .waves = {CR(3, WaveTime1, 1000), SL(WaveTime1, 1000)}});
}

void Level09() {
    Run({.ships = {10, 1, 2, 3, 4, 5, 9, 11},
         .launchers = {0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f},
         .tanks = 13,
         .pickups = "PSPTL",
         .waves = {SR(WaveTime1, 1000), HL(WaveTime2, 1000), CR(5, WaveTime2, 500)}});
}

void Level10() {
    Run({.ships = AllSpots,
         .launchers = {0.25f, 0.375f, 0.5f, 0.625f, 0.75f},
         .tanks = 14,
         .pickups = "TPSPL---N",
         .waves = {SL(WaveTime1, 1000), HR(WaveTime2, 1000), CL(5, WaveTime2, 500)},
         .bosses = {SpiderAt(WaveTime3, 0.35f, WarningSound), SpiderAt(WaveTime3 + 6000, 0.65f, nullptr)}});
}

void Level11() {
    Run({.ships = AllSpots,
         .crusher = 5000,
         .tanks = 10,
         .pickups = "P",
         .waves = {SL(WaveTime0, 1000), SR(WaveTime0, 1000), SR(WaveTime1, 1000), SL(WaveTime1, 1000),
                   SL(WaveTime2, 1000), SR(WaveTime2, 1000)}});
}

void Level12() {
    Run({.ships = AllSpots,
         .tanks = 12,
         .pickups = "P-L",
         .waves = {HL(WaveTime0, 1000), HR(WaveTime0, 1000), HR(WaveTime1, 1000), HL(WaveTime1, 1000),
                   HL(WaveTime2, 1000), HR(WaveTime2, 1000)}});
}

void Level13() {
    Run({.ships = AllSpots, .tanks = 14, .pickups = "P-P---T", .waves = SawcersThenHunters()});
}

void Level14() {
    Run({.ships = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12},
         .launchers = {0.375f, 0.5f, 0.625f},
         .tanks = 16,
         .pickups = "PP---T----S---L",
         .waves = SawcersThenHunters()});
}

void Level15() {
    Run({.ships = {2, 3, 4, 7, 8, 9, 10, 11, 12, 13},
         .launchers = {0.25f},
         .tanks = 14,
         .pickups = "--P--L-P",
         .waves = {HL(WaveTime1, 2000), HR(WaveTime1, 2000)},
         .bosses = {SpiderAt(WaveTime2, 0.25f, WarningSound), SpiderAt(WaveTime3, 0.75f, WarningSound),
                    SpiderAt(WaveTime4, 0.5f, WarningSound)}});
}

void Level16() {
    Run({.ships = AllSpots,
         .crusher = 5000,
         .tanks = 10,
         .pickups = "P-P",
         .waves = {SL(WaveTime0, 1000), SR(WaveTime0, 1000), CL(4, WaveTime1, 5000), CR(4, WaveTime1, 5000),
                   SL(WaveTime2, 1000), SR(WaveTime2, 1000)}});
}

void Level17() {
    Run({.ships = {1, 2, 3, 4, 5, 8, 9, 10, 11, 12},
         .crusher = 5000,
         .tanks = 12,
         .pickups = "P-L",
         .waves = {CL(10, WaveTime1, 1000), CR(10, WaveTime1, 1000), SL(WaveTime2, 1000), SR(WaveTime2, 1000)}});
}

void Level18() {
    Run({.ships = {2, 3, 4, 9, 10, 11},
         .crusher = 5000,
         .tanks = 14,
         .pickups = "P-P-L",
         .waves = {CL(5, WaveTime1, 1000), CR(5, WaveTime1, 1000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   HL(WaveTime2, 2000), HR(WaveTime2, 2000)}});
}

void Level19() {
    Run({.ships = {2, 3, 4, 9, 10, 11},
         .crusher = 10000,
         .launchers = {0.25f, 0.75f},
         .tanks = 16,
         .pickups = "P-P-T-L-S",
         .waves = {CL(5, WaveTime1, 1000), CR(5, WaveTime1, 1000), SL(WaveTime2, 1000), SR(WaveTime2, 1000),
                   HL(WaveTime2, 2000), HR(WaveTime2, 2000)}});
}

void Level20() {
    Run({.ships = AllSpots,
         .launchers = {0.25f, 0.5f, 0.75f},
         .tanks = 14,
         .pickups = "--P--P-L",
         .waves = {HL(WaveTime1, 2000), HR(WaveTime1, 2000)},
         .bosses = {SpiderAt(WaveTime2, 0.25f, WarningSound), SpiderAt(WaveTime3, 0.75f, WarningSound),
                    SaucerAt(WaveTime4, 0.5f, WarningSound)}});
}
