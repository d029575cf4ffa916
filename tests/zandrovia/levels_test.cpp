// The level scripts: every wave level checked against its row of the level
// tables (copied here in their own notation and read by the test, so the
// expected values do not come from the scripts' data), the tutorial's hints,
// tanks and held fire, and the banners.
#include "zandrovia/levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layersprite.h"
#include "platform/text.h"
#include "zandrovia/attacker.h"
#include "zandrovia/constants.h"
#include "zandrovia/crusher.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/launcher.h"
#include "zandrovia/localization.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/saucer.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::GameDriver;
using kestrum::scenegraph::LayerObject;
using kestrum::scenegraph::LayerObjectPtr;

// One row of both level tables, in the tables' notation; latest is the last
// scheduled start worked out by hand from the row.
struct Row {
    int level;
    const char* ships;
    const char* crusher;
    const char* launchers;
    int tanks;
    const char* pickups;
    const char* waves;
    const char* bosses;
    int attackers;
    int scheduled;
    int latest;
};

const char* const Level13Waves =
    "SL(W0, 1000), SR(W0, 1000), SR(W1, 1000), SL(W1, 1000), SL(W2, 1000), SR(W2, 1000), HL(W3, 1000), "
    "HR(W3, 1000), HR(W4, 1000), HL(W4, 1000), HL(W5, 1000), HR(W5, 1000)";

const Row Rows[] = {
    {1, "10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13", "-", "-", 13, "-, -, -, P",
     "CL(2, W1, 5000), CR(2, W1, 5000), SL(W2, 1000)", "-", 12, 25, 48750},
    {2, "10, 1, 2, 3, 4, 5, 9, 11", "-", "-", 13, "-, -, -, -, -, P, -, T",
     "CL(2, W1, 5000), CR(2, W1, 5000), SL(W2, 1000), SR(W2, 1000), SR(W3, 1000)", "-", 28, 41, 57000},
    {3, "10, 1, 2, 3, 4, 5, 9, 11", "-", "0.75", 13, "-, -, -, P, -, -, P, -, S",
     "CL(2, W1, 5000), CR(2, W1, 5000), SL(W2, 1000), SR(W2, 1000), SR(W3, 1000), HL(W4, 1000), HR(W4, 1000)", "-",
     44, 57, 67000},
    {4, "10, 2, 3, 4, 9, 11", "-", "0.25", 13, "-, P, -, -, -, L, -, P",
     "CL(4, W1, 5000), CR(4, W1, 5000), SL(W2, 1000), SR(W2, 1000), HL(W3, 1000), HR(W3, 1000)", "-", 40, 53,
     57000},
    {5, "2, 3, 4, 8, 9, 10, 11, 12", "-", "0.75", 13, "-, P, -, P, -, S, -, T, -, -, -, -",
     "CL(6, W1, 5000), CR(6, W1, 5000), SL(W2, 1000), SR(W2, 1000), HL(W3, 1000), HR(W3, 1000), HL(W4, 1000), "
     "HR(W4, 1000)",
     "Spider(W5, 0.5, warning)", 60, 74, 67000},
    {6, "2, 3, 4, 8, 9, 10, 11, 12", "-", "0.375, 0.5, 0.625", 7, "P, -, -, P", "CL(8, W1, 1000), SR(W2, 1000)", "-",
     16, 23, 42000},
    {7, "1, 2, 3, 4, 5, 9, 10, 11", "-", "0.25, 0.375, 0.5, 0.625", 9, "P, -, -, -, -, P",
     "CL(8, W1, 1000), SR(W1, 1000)", "-", 16, 25, 33750},
    {8, "10, 1, 2, 3, 4, 5, 9, 11", "-", "0.25, 0.375, 0.5, 0.625, 0.75", 12, "-, P, -, -, P, -, T",
     "CR(3, W1, 1000), SL(W1, 1000)", "-", 11, 23, 45000},
    {9, "10, 1, 2, 3, 4, 5, 9, 11", "-", "0.25, 0.375, 0.5, 0.625, 0.75, 0.875", 13, "P, S, P, T, L",
     "SR(W1, 1000), HL(W2, 1000), CR(5, W2, 500)", "-", 21, 34, 48750},
    {10, "0 to 13 in order", "-", "0.25, 0.375, 0.5, 0.625, 0.75", 14, "T, P, S, P, L, -, -, -, N",
     "SL(W1, 1000), HR(W2, 1000), CL(5, W2, 500)", "Spider(W3, 0.35, warning), Spider(W3+6000, 0.65, none)", 21, 37,
     56000},
    {11, "0 to 13 in order", "5000", "-", 10, "P",
     "SL(W0, 1000), SR(W0, 1000), SR(W1, 1000), SL(W1, 1000), SL(W2, 1000), SR(W2, 1000)", "-", 48, 59, 42000},
    {12, "0 to 13 in order", "-", "-", 12, "P, -, L",
     "HL(W0, 1000), HR(W0, 1000), HR(W1, 1000), HL(W1, 1000), HL(W2, 1000), HR(W2, 1000)", "-", 48, 60, 45000},
    {13, "0 to 13 in order", "-", "-", 14, "P, -, P, -, -, -, T", Level13Waves, "-", 96, 110, 72000},
    {14, "0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12", "-", "0.375, 0.5, 0.625", 16,
     "P, P, -, -, -, T, -, -, -, -, S, -, -, -, L", "the same twelve calls as level 13", "-", 96, 112, 72000},
    {15, "2, 3, 4, 7, 8, 9, 10, 11, 12, 13", "-", "0.25", 14, "-, -, P, -, -, L, -, P",
     "HL(W1, 2000), HR(W1, 2000)",
     "Spider(W2, 0.25, warning), Spider(W3, 0.75, warning), Spider(W4, 0.5, warning)", 16, 33, 60000},
    {16, "0 to 13 in order", "5000", "-", 10, "P, -, P",
     "SL(W0, 1000), SR(W0, 1000), CL(4, W1, 5000), CR(4, W1, 5000), SL(W2, 1000), SR(W2, 1000)", "-", 40, 51, 42000},
    {17, "1, 2, 3, 4, 5, 8, 9, 10, 11, 12", "5000", "-", 12, "P, -, L",
     "CL(10, W1, 1000), CR(10, W1, 1000), SL(W2, 1000), SR(W2, 1000)", "-", 36, 49, 45000},
    {18, "2, 3, 4, 9, 10, 11", "5000", "-", 14, "P, -, P, -, L",
     "CL(5, W1, 1000), CR(5, W1, 1000), SL(W2, 1000), SR(W2, 1000), HL(W2, 2000), HR(W2, 2000)", "-", 42, 57,
     52500},
    {19, "2, 3, 4, 9, 10, 11", "10000", "0.25, 0.75", 16, "P, -, P, -, T, -, L, -, S",
     "CL(5, W1, 1000), CR(5, W1, 1000), SL(W2, 1000), SR(W2, 1000), HL(W2, 2000), HR(W2, 2000)", "-", 42, 59,
     60000},
    {20, "0 to 13 in order", "-", "0.25, 0.5, 0.75", 14, "-, -, P, -, -, P, -, L", "HL(W1, 2000), HR(W1, 2000)",
     "Spider(W2, 0.25, warning), Spider(W3, 0.75, warning), Saucer(W4, 0.5, warning)", 16, 33, 60000},
};

// --- Reading the notation --------------------------------------------------------------

std::vector<std::string> List(const std::string& text) {
    if (text == "-") return {};
    return platform::Split(text, ", ");
}

// "W0" to "W5", optionally "+ms".
int Time(const std::string& text) {
    static const int wave[] = {3750, 20000, 35000, 50000, 60000, 65000};
    const std::size_t plus = text.find('+');
    const int base = wave[text[1] - '0'];
    return plus == std::string::npos ? base : base + std::stoi(text.substr(plus + 1));
}

// The calls "Name(a, b, ...)" of a list, in order.
std::vector<std::pair<std::string, std::vector<std::string>>> Calls(const std::string& text) {
    std::vector<std::pair<std::string, std::vector<std::string>>> calls;
    const auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    std::size_t from = 0;
    for (std::size_t open = text.find('(', from); open != std::string::npos; open = text.find('(', from)) {
        std::size_t name = open;
        while (name > from && word(text[name - 1])) --name;
        const std::size_t close = text.find(')', open + 1);
        if (close == std::string::npos) break;
        if (name == open) {
            from = open + 1;
            continue;
        }
        calls.emplace_back(text.substr(name, open - name), platform::Split(text.substr(open + 1, close - open - 1), ", "));
        from = close + 1;
    }
    return calls;
}

// An entry of the scheduler as the test sees it: what (S, H or C and the
// side L or R for attackers; "tank", "crusher", "spider", "saucer"), when
// (ms after the script ran), and for bosses the x and the warning.
using Entry = std::tuple<std::string, int, int, bool>;

std::vector<Entry> ExpectedEntries(const Row& row) {
    std::vector<Entry> entries;
    for (int k = 1; k <= row.tanks; ++k) entries.emplace_back("tank", k * 3750, 0, false);
    if (std::string(row.crusher) != "-") entries.emplace_back("crusher", std::stoi(row.crusher), 0, false);
    const std::string waves = std::string(row.waves).starts_with("the same") ? Level13Waves : row.waves;
    for (const auto& [name, args] : Calls(waves)) {
        const bool cargo = name[0] == 'C';
        const int count = cargo ? std::stoi(args[0]) : 8;
        const int delay = Time(args[cargo ? 1 : 0]);
        const int spacing = std::stoi(args[cargo ? 2 : 1]);
        for (int n = 0; n < count; ++n) entries.emplace_back(name, delay + n * spacing, 0, false);
    }
    for (const auto& [name, args] : Calls(row.bosses)) {
        const int x = static_cast<int>(1136 * std::stof(args[1]));
        entries.emplace_back(platform::ToLower(name), Time(args[0]), x, args[2] == "warning");
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<Entry> ScheduledEntries(int start) {
    std::vector<Entry> entries;
    for (int i = 0; i < GameScheduler->Pending(); ++i) {
        const auto object = std::dynamic_pointer_cast<LayerObject>(GameScheduler->PendingTask(i));
        const int time = GameScheduler->PendingTime(i) - start;
        switch (KindOf(object.get())) {
            case ObjectKind::Attacker: {
                const auto& a = static_cast<const Attacker&>(*object);
                const std::string kind = a.Cargo ? "C" : a.Armed ? "H" : "S";
                entries.emplace_back(kind + (a.X() < 0 ? "L" : "R"), time, 0, false);
                break;
            }
            case ObjectKind::Tank: entries.emplace_back("tank", time, 0, false); break;
            case ObjectKind::Crusher: entries.emplace_back("crusher", time, 0, false); break;
            case ObjectKind::Spider: {
                const auto& s = static_cast<const Spider&>(*object);
                entries.emplace_back("spider", time, static_cast<int>(s.X()), s.Warning != nullptr);
                break;
            }
            case ObjectKind::Saucer: {
                const auto& s = static_cast<const Saucer&>(*object);
                entries.emplace_back("saucer", time, static_cast<int>(s.X()), s.Warning != nullptr);
                break;
            }
            default: entries.emplace_back("other", time, 0, false); break;
        }
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<LayerObjectPtr> ObjectsOf(ObjectKind kind) {
    std::vector<LayerObjectPtr> objects;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        if (KindOf(object.get()) == kind) objects.push_back(object);
    });
    return objects;
}

int SpotOf(platform::Vec2f location) {
    for (std::size_t i = 0; i < StartSpots.size(); ++i) {
        if (location == platform::Vec2f{static_cast<float>(StartSpots[i].x), static_cast<float>(StartSpots[i].y)}) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string PickupLetters() {
    std::vector<std::string> letters;
    for (const ImageArray& frames : LevelPickups) {
        letters.push_back(frames == nullptr                 ? "-"
                          : frames == PowerUpPickupFrames ? "P"
                          : frames == TrackerPickupFrames ? "T"
                          : frames == NukePickupFrames    ? "N"
                          : frames == ShieldPickupFrames  ? "S"
                          : frames == LaserPickupFrames   ? "L"
                                                          : "?");
    }
    return platform::Join(letters, ", ");
}

std::string Spots(const std::string& text) {
    return text == "0 to 13 in order" ? "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13" : text;
}

// Builds level n as the game-state machine would: on a cleared game.
void BuildLevel(int n) {
    levelIndex = n;
    Levels[static_cast<std::size_t>(n)]();
}

// The text messages of FrontLayer in creation order.
std::vector<std::shared_ptr<TextMessage>> Messages() {
    std::vector<std::shared_ptr<TextMessage>> messages;
    ForEachObject(FrontLayer.get(), [&](const LayerObjectPtr& object) {
        if (const auto message = std::dynamic_pointer_cast<TextMessage>(object)) messages.push_back(message);
    });
    return messages;
}

bool Firing() {
    for (int i = 0; i < PlayerBulletPool.Count; ++i) {
        if (PlayerBulletPool.Item(i)->Enabled()) return true;
    }
    return false;
}

}  // namespace

TEST(Levels, TheTableHoldsTheTutorialAndTwentyWaveScripts) {
    InitGameModule();
    EXPECT_EQ(LevelCount, 21);
    for (const LevelScript script : Levels) EXPECT_NE(script, nullptr);
    EXPECT_EQ(Levels[0], &Level00);
    EXPECT_EQ(Levels[20], &Level20);
    const int waveTimes[] = {WaveTime0, WaveTime1, WaveTime2, WaveTime3, WaveTime4, WaveTime5};
    EXPECT_EQ(std::vector<int>(std::begin(waveTimes), std::end(waveTimes)),
              (std::vector<int>{3750, 20000, 35000, 50000, 60000, 65000}));
}

TEST(Levels, EveryWaveLevelBuildsItsRowOfTheTables) {
    GameDriver game;
    ASSERT_EQ(ViewWidth(), 1136);
    ASSERT_EQ(ViewHeight(), 640);
    for (const Row& row : Rows) {
        SCOPED_TRACE("level " + std::to_string(row.level));
        game.Reset();
        const int start = kestrum::framework::TaskTime();
        BuildLevel(row.level);

        // Ships in creation order; the first is the current one. Ships and
        // launchers are in play at once.
        std::vector<std::string> spots;
        for (const auto& ship : ObjectsOf(ObjectKind::Player)) {
            spots.push_back(std::to_string(SpotOf(ship->Location())));
            EXPECT_TRUE(ship->Enabled());
        }
        EXPECT_EQ(platform::Join(spots, ", "), Spots(row.ships));
        EXPECT_EQ(ShipsAlive, static_cast<int>(spots.size()));
        ASSERT_TRUE(CurrentPlayer);
        EXPECT_EQ(std::to_string(SpotOf(CurrentPlayer->Location())), spots.front());

        std::vector<std::string> launchers;
        const int ground = static_cast<int>(640 - SoilHeight());
        for (const auto& launcher : ObjectsOf(ObjectKind::Launcher)) {
            launchers.push_back(std::to_string(static_cast<int>(launcher->X())));
            EXPECT_TRUE(launcher->Enabled());
            EXPECT_LT(launcher->Y(), ground);
        }
        std::vector<std::string> expectedLaunchers;
        for (const std::string& f : List(row.launchers)) {
            expectedLaunchers.push_back(std::to_string(static_cast<int>(1136 * std::stof(f))));
        }
        EXPECT_EQ(launchers, expectedLaunchers);
        EXPECT_EQ(ObjectsOf(ObjectKind::Crusher).size(), std::string(row.crusher) == "-" ? 0u : 1u);

        // Everything else waits in the scheduler: tanks, attackers, bosses
        // and the crusher, each at its start.
        const std::vector<Entry> scheduled = ScheduledEntries(start);
        EXPECT_EQ(static_cast<int>(scheduled.size()), row.scheduled);
        EXPECT_EQ(scheduled, ExpectedEntries(row));
        int latest = 0;
        for (const Entry& entry : scheduled) latest = std::max(latest, std::get<1>(entry));
        EXPECT_EQ(latest, row.latest);
        int waiting = 0;
        for (const auto& attacker : ObjectsOf(ObjectKind::Attacker)) waiting += !attacker->Enabled();
        EXPECT_EQ(waiting, row.attackers);
        EXPECT_EQ(CountAttackers(GameLayer.get()), static_cast<int>(scheduled.size()) -
                                                       (std::string(row.crusher) == "-" ? 0 : 1));

        // Tanks stand just outside the left edge, resting on the soil.
        for (const auto& tank : ObjectsOf(ObjectKind::Tank)) {
            EXPECT_FLOAT_EQ(tank->X(), -tank->Width() * 0.5f);
            EXPECT_FLOAT_EQ(tank->Y(), soil->Y() - (soil->Height() + tank->Height()) * 0.5f);
        }

        EXPECT_EQ(PickupLetters(), row.pickups);
        ASSERT_TRUE(LevelBanner);
        EXPECT_EQ(LevelBanner->Main->Text, "LEVEL " + std::to_string(row.level));
        EXPECT_EQ(LevelBanner->Main->Font, kestrum::framework::Content->GetFont(TextFont, 128));
        EXPECT_EQ(LevelBanner->Location(), (platform::Vec2f{568, 320}));
        EXPECT_EQ(LevelBanner->Time, start + 600);
        EXPECT_EQ(LevelBanner->Data.front()->Duration, 1000);
    }
}

TEST(Levels, LevelOneNotesTheSpriteSetAndTheDebugKeysButShowsItsBannerLast) {
    GameDriver game;
    const struct {
        const char* spriteSet;
        bool cheatKeys;
        std::vector<std::string> texts;
    } cases[] = {
        {"", false, {"LEVEL 1"}},
        {"hd/", false, {"HD", "LEVEL 1"}},
        {"", true, {"DEBUG KEYS ON!", "LEVEL 1"}},
        {"hd/", true, {"HD", "DEBUG KEYS ON!", "LEVEL 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.spriteSet) + (c.cheatKeys ? " with the debug keys" : ""));
        game.Reset();
        SpriteSet = c.spriteSet;
        CheatKeys = c.cheatKeys;
        testing::internal::CaptureStdout();
        BuildLevel(1);
        const std::string printed = testing::internal::GetCapturedStdout();
        SpriteSet.clear();
        CheatKeys = false;

        std::vector<std::string> texts;
        for (const auto& message : Messages()) {
            texts.push_back(message->Main->Text);
            if (message == LevelBanner) continue;
            EXPECT_EQ(message->Location(), (platform::Vec2f{568, 448}));
            EXPECT_EQ(message->Main->Font, kestrum::framework::Content->GetFont(TextFont, 128));
            EXPECT_EQ(message->Data.front()->Duration, 1000);
        }
        EXPECT_EQ(texts, c.texts);
        ASSERT_TRUE(LevelBanner);
        EXPECT_EQ(LevelBanner->Main->Text, "LEVEL 1");

        // The debug keys also print the ground's measures.
        const std::string ground = "camVheight: 640, soil.Y: " + platform::FromFloat(soil->Y()) +
                                   " soil.Height: " + platform::FromFloat(soil->Height()) + "\n";
        if (c.cheatKeys) {
            EXPECT_NE(printed.find(ground), std::string::npos) << printed;
        } else {
            EXPECT_EQ(printed.find("camVheight"), std::string::npos) << printed;
        }
    }
}

TEST(Levels, TheNthDestroyedTankDropsTheNthPickup) {
    GameDriver game;
    BuildLevel(14);
    game.StartPlay();
    // Sixteen tanks, fifteen entries: P, P, -, -, -, T, -, -, -, -, S, -, -, -, L.
    const auto tanks = ObjectsOf(ObjectKind::Tank);
    ASSERT_EQ(tanks.size(), 16u);
    std::string drops;
    for (const auto& tank : tanks) {
        const int before = static_cast<int>(ObjectsOf(ObjectKind::Pickup).size());
        tank->OnOutro(nullptr);
        tank->Remove();
        const auto pickups = ObjectsOf(ObjectKind::Pickup);
        drops += static_cast<int>(pickups.size()) > before ? "x" : "-";
    }
    EXPECT_EQ(drops, "xx---x----x---x-");
    EXPECT_EQ(TanksDestroyed, 15);
}

TEST(Tutorial, ShowsFiveHintsAtTheirTimesAndPlacesThenSendsTwoTanks) {
    GameDriver game;
    const int start = kestrum::framework::TaskTime();
    BuildLevel(0);

    const auto messages = Messages();
    ASSERT_GE(messages.size(), 6u);
    EXPECT_EQ(messages[0]->Main->Text, "Tutorial");
    EXPECT_EQ(messages[0]->Main->Font, kestrum::framework::Content->GetFont(TextFont, 128));
    EXPECT_EQ(messages[0]->Location(), (platform::Vec2f{568, 320}));
    EXPECT_EQ(messages[0]->Time, start);
    EXPECT_EQ(messages[0]->Data.front()->Duration, 1000);

    // Hint lines: the key's text broken into lines (hint 4 whole), one
    // message per line below the first, all at the hint's time.
    const struct {
        const char* key;
        int size;
        platform::Vec2f first;
        float spacing;
        int delay;
        bool broken;
    } hints[] = {
        {"tut_ship", 21, {568, 252}, 18, 2000, true},     {"tut_switch", 21, {142, 156}, 18, 7000, true},
        {"tut_enemiesnum", 21, {260, 15}, 18, 12000, true}, {"tut_enemieshere", 21, {568, 512}, 0, 17000, false},
        {"tut_takecare", 30, {568, 252}, 27, 22000, true},
    };
    std::size_t next = 1;
    for (const auto& hint : hints) {
        SCOPED_TRACE(hint.key);
        std::vector<std::string> lines;
        const float y0 = hint.first.y;
        while (next < messages.size() && messages[next]->Time == start + hint.delay) {
            const auto& line = messages[next];
            EXPECT_EQ(line->Location(), (platform::Vec2f{hint.first.x, y0 + hint.spacing * lines.size()}));
            EXPECT_EQ(line->Main->Font, kestrum::framework::Content->GetFont(TitleFont, hint.size));
            EXPECT_EQ(line->Data.front()->Duration, 5000);
            EXPECT_FALSE(line->Shadow->Text.empty());
            lines.push_back(line->Main->Text);
            ++next;
        }
        EXPECT_EQ(platform::Join(lines, " "), morvane::locale::Localize(hint.key));
        if (hint.broken) {
            EXPECT_GT(lines.size(), 1u);
        } else {
            EXPECT_EQ(lines.size(), 1u);
        }
    }
    EXPECT_EQ(next, messages.size());
    EXPECT_EQ(LevelBanner, messages.back());

    // Three ships, the first current; two tanks 7500 ms apart; no drops.
    std::vector<int> spots;
    for (const auto& ship : ObjectsOf(ObjectKind::Player)) spots.push_back(SpotOf(ship->Location()));
    EXPECT_EQ(spots, (std::vector<int>{10, 0, 6}));
    EXPECT_EQ(SpotOf(CurrentPlayer->Location()), 10);
    EXPECT_EQ(ScheduledEntries(start),
              (std::vector<Entry>{{"tank", 27000, 0, false}, {"tank", 34500, 0, false}}));
    EXPECT_TRUE(LevelPickups.empty());
    EXPECT_TRUE(ObjectsOf(ObjectKind::Launcher).empty());
    EXPECT_TRUE(ObjectsOf(ObjectKind::Attacker).empty());

    // The ships hold their fire until the last hint has faded, just after
    // the first tank came.
    game.Frame(2);
    game.Skip(26900 - static_cast<int>(game.Now()));
    game.Frame(5);
    EXPECT_FALSE(GameOn());
    EXPECT_FALSE(Firing());
    EXPECT_EQ(GameScheduler->Pending(), 2);
    game.Frame(10);
    EXPECT_EQ(GameScheduler->Pending(), 1);
    EXPECT_FALSE(GameOn());
    game.Frame(30);
    EXPECT_LT(LevelBanner->Alpha(), 0);
    EXPECT_TRUE(GameOn());
    EXPECT_TRUE(Firing());

    // A destroyed tank of the tutorial drops nothing.
    const auto tank = ObjectsOf(ObjectKind::Tank).front();
    tank->OnOutro(nullptr);
    tank->Remove();
    EXPECT_TRUE(ObjectsOf(ObjectKind::Pickup).empty());
}

TEST(Tutorial, ALineFeedInAHintStartsANewLine) {
    GameDriver game;
    auto& providers = morvane::locale::Localization::ValuesProviders;
    providers.push_back([](const std::string& key, bool& found) {
        found = key == "tut_ship";
        return found ? std::string("Fly\nand fire") : std::string();
    });
    BuildLevel(0);
    providers.pop_back();
    const auto messages = Messages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[1]->Main->Text, "Fly");
    EXPECT_EQ(messages[2]->Main->Text, "and fire");
    EXPECT_EQ(messages[2]->Y(), messages[1]->Y() + 18);
    EXPECT_EQ(messages[3]->Time, messages[1]->Time + 5000);
}
