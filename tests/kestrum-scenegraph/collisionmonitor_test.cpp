#include "kestrum-scenegraph/collisionmonitor.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using sgtest::MakeProbe;
using sgtest::Probe;
using Log = std::vector<std::string>;

namespace {

// A scene with a monitor and one layer; every probe sits at (0, 0), so all
// boxes overlap.
struct World {
    sgtest::FakeClock clock;
    sg::Scene scene{nullptr};
    std::shared_ptr<sg::CollisionMonitor> monitor = std::make_shared<sg::CollisionMonitor>();
    std::shared_ptr<sg::Layer> layer;
    Log log;

    World() {
        scene.CollisionMonitor = monitor;
        layer = sg::Layer::New(&scene);
    }
    std::shared_ptr<Probe> Reader(const std::string& name) {
        auto p = MakeProbe(layer.get(), 0, 0, name, &log);
        p->CollisionRead(true);
        return p;
    }
    std::shared_ptr<Probe> Writer(const std::string& name) {
        auto p = MakeProbe(layer.get(), 0, 0, name, &log);
        p->CollisionWrite(true);
        return p;
    }
};

}  // namespace

TEST(CollisionMonitorPass, TestsEveryReaderAgainstEveryWriterAndTellsOnlyReaders) {
    World w;
    w.Reader("R1");
    w.Reader("R2");
    w.Writer("W1");
    w.Writer("W2");
    w.monitor->Update();
    EXPECT_EQ(w.log, (Log{"test R1-W1", "hit R1-W1", "test R1-W2", "hit R1-W2", "test R2-W1", "hit R2-W1",
                          "test R2-W2", "hit R2-W2"}));
}

TEST(CollisionMonitorPass, SkipsIdenticalDisabledAndOwnerPairs) {
    World w;
    auto ship = w.Reader("S");
    ship->CollisionWrite(true);  // a reader and a writer at once
    auto shot = w.Reader("shot");
    shot->CollisionWrite(true);
    shot->Owner = ship;
    auto off = w.Writer("off");
    off->Enabled(false);
    auto idle = w.Reader("idle");
    idle->Enabled(false);
    w.monitor->Update();
    // The shot is never tested against its owner, but the owner is tested
    // against the shot.
    EXPECT_EQ(w.log, (Log{"test S-shot", "hit S-shot"}));
}

TEST(CollisionMonitorPass, WritersRemovedByAHandlerAreNeitherSkippedNorRepeated) {
    World w;
    auto r1 = w.Reader("R1");
    w.Reader("R2");
    auto w1 = w.Writer("W1");
    w.Writer("W2");
    w.Writer("W3");
    r1->onCollision = [&](const std::shared_ptr<sg::LayerObject>& other) {
        if (other == w1) other->Remove();
    };
    w.monitor->Update();
    EXPECT_EQ(w.log, (Log{"test R1-W1", "hit R1-W1", "remove W1", "test R1-W2", "hit R1-W2", "test R1-W3",
                          "hit R1-W3", "test R2-W2", "hit R2-W2", "test R2-W3", "hit R2-W3"}));
}

TEST(CollisionMonitorPass, AReaderThatDropsOutEndsOnlyItsOwnPass) {
    World w;
    auto r1 = w.Reader("R1");
    auto r2 = w.Reader("R2");
    w.Writer("W1");
    w.Writer("W2");
    // R1 removes itself on its first hit; R2 disables itself.
    r1->onCollision = [&](const std::shared_ptr<sg::LayerObject>&) { r1->Remove(); };
    r2->onCollision = [&](const std::shared_ptr<sg::LayerObject>&) { r2->Enabled(false); };
    auto r3 = w.Reader("R3");
    w.monitor->Update();
    EXPECT_EQ(w.log, (Log{"test R1-W1", "hit R1-W1", "remove R1", "test R2-W1", "hit R2-W1", "test R3-W1",
                          "hit R3-W1", "test R3-W2", "hit R3-W2"}));
}

TEST(CollisionMonitorPass, ObjectsUnregisteredAroundThePassPositionMoveItWithThem) {
    // Three readers R0 to R2 and three writers W0 to W2. When the named reader
    // hits the named writer, it unregisters the listed readers and writers;
    // the pass then goes on with whatever came next in each list.
    struct Case {
        const char* name;
        const char* reader;
        const char* writer;
        std::vector<std::string> readersLeaving, writersLeaving;
        Log pairs;  // the pairs tested, in order
    };
    const Case cases[] = {
        {"a reader drops itself and an earlier one", "R1", "W0", {"R0", "R1"}, {},
         {"R0-W0", "R0-W1", "R0-W2", "R1-W0", "R2-W0", "R2-W1", "R2-W2"}},
        {"a reader drops a later one", "R0", "W2", {"R2"}, {}, {"R0-W0", "R0-W1", "R0-W2", "R1-W0", "R1-W1", "R1-W2"}},
        {"a writer after the current one leaves", "R0", "W0", {}, {"W1"},
         {"R0-W0", "R0-W2", "R1-W0", "R1-W2", "R2-W0", "R2-W2"}},
        {"the current writer and an earlier one leave", "R0", "W1", {}, {"W0", "W1"},
         {"R0-W0", "R0-W1", "R0-W2", "R1-W2", "R2-W2"}},
        {"every writer leaves", "R1", "W0", {}, {"W0", "W1", "W2"}, {"R0-W0", "R0-W1", "R0-W2", "R1-W0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        std::map<std::string, std::shared_ptr<Probe>> probes;
        for (const char* name : {"R0", "R1", "R2"}) probes[name] = w.Reader(name);
        for (const char* name : {"W0", "W1", "W2"}) probes[name] = w.Writer(name);
        bool done = false;
        probes[c.reader]->onCollision = [&](const std::shared_ptr<sg::LayerObject>& other) {
            if (done || other != probes[c.writer]) return;
            done = true;
            for (const auto& name : c.readersLeaving) probes[name]->CollisionRead(false);
            for (const auto& name : c.writersLeaving) probes[name]->CollisionWrite(false);
        };
        w.monitor->Update();
        Log pairs;
        for (const std::string& line : w.log) {
            if (line.rfind("test ", 0) == 0) pairs.push_back(line.substr(5));
        }
        EXPECT_EQ(pairs, c.pairs);
    }
}

TEST(CollisionMonitorPass, PausedClockSkipsPausableObjects) {
    World w;
    auto steady = w.Reader("R");
    steady->Pausable = false;
    w.Reader("Rp");
    auto writer = w.Writer("W");
    writer->Pausable = false;
    w.Writer("Wp");
    kestrum::framework::SetTasksPaused(true);
    w.scene.Update();  // the scene runs no pass at all
    EXPECT_TRUE(w.log.empty());
    w.monitor->Update();
    EXPECT_EQ(w.log, (Log{"test R-W", "hit R-W"}));
}

TEST(ScoreSystemResolver, ExchangesEnergyDestroysAndCredits) {
    struct Case {
        const char* name;
        int energyA, energyB;
        bool invulnerableA;
        bool bInLayer;
        bool bOwned;
        // Expected
        int afterA, afterB, hitsA, hitsB, scoreA, scoreB, scoreOwner;
        Log log;
    };
    const Case cases[] = {
        {"B destroyed: A gains its points, B's owner nothing", 3, 1, false, true, true, 2, 0, 1, 1, 50, 0, 0,
         {"outro B-A", "remove B"}},
        {"A destroyed by an owned B: B's owner gains", 1, 3, false, true, true, 0, 2, 1, 1, 0, 0, 100,
         {"outro A-B", "remove A"}},
        {"both destroyed, A first", 5, 5, false, true, false, 0, 0, 1, 1, 50, 100, 0,
         {"outro A-B", "remove A", "outro B-A", "remove B"}},
        {"invulnerable A", 2, 5, true, true, false, 2, 3, 0, 1, 0, 0, 0, {}},
        {"B no longer in a layer deals no damage", 2, 5, false, false, false, 2, 3, 0, 1, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        auto a = MakeProbe(w.layer.get(), 0, 0, "A", &w.log);
        auto b = MakeProbe(w.layer.get(), 0, 0, "B", &w.log);
        auto owner = MakeProbe(w.layer.get(), 0, 0, "S", &w.log);
        a->ScoreSystem = std::make_shared<sg::ScoreSystem>();
        a->ScoreSystem->Energy = c.energyA;
        a->ScoreSystem->Points = 100;
        a->ScoreSystem->Invulnerable = c.invulnerableA;
        b->ScoreSystem = std::make_shared<sg::ScoreSystem>();
        b->ScoreSystem->Energy = c.energyB;
        b->ScoreSystem->Points = 50;
        owner->ScoreSystem = std::make_shared<sg::ScoreSystem>();
        if (!c.bInLayer) b->Layer(static_cast<sg::Layer*>(nullptr));
        if (c.bOwned) b->Owner = owner;
        a->ApplyScoreSystem(b);
        EXPECT_EQ(a->ScoreSystem->Energy, c.afterA);
        EXPECT_EQ(b->ScoreSystem->Energy, c.afterB);
        EXPECT_EQ(a->ScoreSystem->Hits, c.hitsA);
        EXPECT_EQ(b->ScoreSystem->Hits, c.hitsB);
        EXPECT_EQ(a->ScoreSystem->Score, c.scoreA);
        EXPECT_EQ(b->ScoreSystem->Score, c.scoreB);
        EXPECT_EQ(owner->ScoreSystem->Score, c.scoreOwner);
        EXPECT_EQ(w.log, c.log);
    }
}

TEST(ScoreSystemResolver, KillsCreditTheDestroyersOwnerAndNeedBothRecords) {
    World w;
    auto ship = MakeProbe(w.layer.get(), 0, 0, "ship", &w.log);
    auto shot = MakeProbe(w.layer.get(), 0, 0, "shot", &w.log);
    auto enemy = MakeProbe(w.layer.get(), 0, 0, "enemy", &w.log);
    ship->ScoreSystem = std::make_shared<sg::ScoreSystem>();
    shot->ScoreSystem = std::make_shared<sg::ScoreSystem>();
    shot->ScoreSystem->Energy = 10;
    shot->Owner = ship;
    enemy->ScoreSystem = std::make_shared<sg::ScoreSystem>();
    enemy->ScoreSystem->Points = 250;
    shot->ApplyScoreSystem(enemy);
    EXPECT_EQ(ship->ScoreSystem->Score, 250);
    EXPECT_EQ(shot->ScoreSystem->Score, 0);
    EXPECT_FALSE(enemy->Enabled());
    EXPECT_EQ(shot->ScoreSystem->Energy, 9);

    // A tattooed loser gets its farewell but stays.
    auto boss = MakeProbe(w.layer.get(), 0, 0, "boss", &w.log);
    boss->Tattooed = true;
    boss->ScoreSystem = std::make_shared<sg::ScoreSystem>();
    shot->ApplyScoreSystem(boss);
    EXPECT_TRUE(boss->Enabled());
    EXPECT_NE(boss->Layer(), nullptr);

    // Without both records nothing happens.
    auto plain = MakeProbe(w.layer.get(), 0, 0, "plain", &w.log);
    w.log.clear();
    shot->ApplyScoreSystem(plain);
    plain->ApplyScoreSystem(shot);
    shot->ApplyScoreSystem(nullptr);
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(shot->ScoreSystem->Energy, 8);
}
