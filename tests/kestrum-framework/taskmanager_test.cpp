#include "kestrum-framework/taskmanager.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakeclock.h"

namespace fw = kestrum::framework;

namespace {

// A task that logs its updates and runs an optional action inside OnUpdate.
struct LogTask : fw::Task {
    LogTask(std::string name, std::vector<std::string>* log) : log(log) { Name = std::move(name); }
    void OnUpdate() override {
        log->push_back(Name);
        if (action) action();
    }
    std::vector<std::string>* log;
    std::function<void()> action;
};

struct Fixture {
    std::vector<std::string> log;
    std::shared_ptr<fw::TaskManager> manager = std::make_shared<fw::TaskManager>();
    std::vector<std::shared_ptr<LogTask>> tasks;

    explicit Fixture(const std::string& names) {
        for (char c : names) {
            auto task = std::make_shared<LogTask>(std::string(1, c), &log);
            task->TaskManager(manager);
            tasks.push_back(task);
        }
    }
    LogTask& operator[](char c) { return *tasks[static_cast<std::size_t>(c - 'A')]; }
    std::string Log() const {
        std::string s;
        for (const auto& n : log) s += n;
        return s;
    }
    std::string Order() const {
        std::string s;
        for (const auto& t : manager->Tasks) s += t->Name;
        return s;
    }
};

}  // namespace

TEST(TaskManager, PassWithRemovalsUpdatesEachRemainingTaskOnce) {
    testsupport::FakeClock clock;
    struct Case {
        const char* what;
        char actor;
        std::string removes;  // tasks the actor takes out of the list during its update
        const char* updated;
        const char* after;
    };
    const Case cases[] = {
        {"a task removes itself", 'C', "C", "ABCDE", "ABDE"},
        {"the first task removes itself", 'A', "A", "ABCDE", "BCDE"},
        {"the first task removes itself and a later one", 'A', "AE", "ABCD", "BCD"},
        {"a task removes itself and an earlier one", 'C', "CA", "ABCDE", "BDE"},
        {"a task removes an earlier task", 'D', "B", "ABCDE", "ACDE"},
        {"a task removes a later task", 'B', "D", "ABCE", "ABCE"},
        {"the last task removes everything", 'E', "ABCDE", "ABCDE", ""},
        {"a task rejoins at the end of the list", 'B', "", "ABCDE", "ACDEB"},
    };
    for (const auto& c : cases) {
        Fixture f("ABCDE");
        f[c.actor].action = [&f, &c] {
            for (char r : c.removes) f[r].TaskManager(nullptr);
            if (c.removes.empty()) f[c.actor].TaskManager(f.manager);
        };
        f.manager->Update(1);
        EXPECT_EQ(f.Log(), c.updated) << c.what;
        EXPECT_EQ(f.Order(), c.after) << c.what;
    }
}

TEST(TaskManager, TaskAddedDuringPassIsReachedUnlessStampIsZero) {
    testsupport::FakeClock clock;
    for (int stamp : {1, 0}) {
        Fixture f("AB");
        auto late = std::make_shared<LogTask>("X", &f.log);
        f['A'].action = [&] { late->TaskManager(f.manager); };
        f.manager->Update(stamp);
        // A fresh task carries stamp 0, so a pass with stamp 0 skips it (and every other fresh task).
        EXPECT_EQ(f.Log(), stamp == 1 ? "ABX" : "") << "stamp " << stamp;
    }
}

TEST(TaskManager, SkipRules) {
    testsupport::FakeClock clock;
    Fixture f("ABCD");
    f['A'].UpdateStamp = 7;           // already updated with this stamp
    f['B'].Enabled(false);            // disabled
    f['C'].Pausable = false;          // runs while paused
    f.manager->Update(7);
    EXPECT_EQ(f.Log(), "CD");

    f.log.clear();
    fw::SetTasksPaused(true);
    f.manager->Update(8);
    EXPECT_EQ(f.Log(), "C") << "only tasks that are not pausable run while paused";

    f.log.clear();
    fw::SetTasksPaused(false);
    fw::SetTasksFrozen(true);
    f.manager->Update(9);
    EXPECT_EQ(f.Log(), "") << "nothing runs while frozen";
}

TEST(TaskManager, JudgesTheStoredEnabledFlagAndFreezingStopsThePass) {
    testsupport::FakeClock clock;
    struct AlwaysEnabled : LogTask {
        using LogTask::LogTask;
        bool Enabled() const override { return true; }
        using LogTask::Enabled;
    };
    std::vector<std::string> log;
    auto manager = std::make_shared<fw::TaskManager>();
    auto a = std::make_shared<AlwaysEnabled>("A", &log);
    auto b = std::make_shared<LogTask>("B", &log);
    auto c = std::make_shared<LogTask>("C", &log);
    for (auto t : std::vector<std::shared_ptr<fw::Task>>{a, b, c}) t->TaskManager(manager);
    a->Enabled(false);
    b->action = [] { fw::SetTasksFrozen(true); };
    manager->Update(1);
    EXPECT_EQ(log, (std::vector<std::string>{"B"}));
}

TEST(TaskManager, UpdateWithoutStampCountsAndSettingTheSameManagerMovesToTheEnd) {
    testsupport::FakeClock clock;
    Fixture f("ABC");
    f.manager->Update();
    f.manager->Update();
    EXPECT_EQ(f.manager->Counter, 2);
    EXPECT_EQ(f.Log(), "ABC") << "the first pass has stamp 0, which fresh tasks already carry";

    f['A'].TaskManager(f.manager);
    EXPECT_EQ(f.Order(), "BCA");
    EXPECT_EQ(f['A'].TaskManager(), f.manager);

    auto other = std::make_shared<fw::TaskManager>();
    f['B'].TaskManager(other);
    EXPECT_EQ(f.Order(), "CA");
    EXPECT_EQ(other->Tasks.Length(), 1);
    f['B'].TaskManager(nullptr);
    EXPECT_EQ(other->Tasks.Length(), 0);
    EXPECT_EQ(f['B'].TaskManager(), nullptr);
}

TEST(TaskManager, ManagerGoneLeavesNoDanglingReference) {
    testsupport::FakeClock clock;
    std::vector<std::string> log;
    auto task = std::make_shared<LogTask>("A", &log);
    {
        auto manager = std::make_shared<fw::TaskManager>();
        task->TaskManager(manager);
    }
    EXPECT_EQ(task->TaskManager(), nullptr);
    task->TaskManager(nullptr);  // must not touch the freed manager
}

TEST(Task, CopyTaskCopiesFieldsButNotListMembership) {
    testsupport::FakeClock clock(500);
    std::vector<std::string> log;
    auto manager = std::make_shared<fw::TaskManager>();
    auto from = std::make_shared<LogTask>("from", &log);
    auto to = std::make_shared<LogTask>("to", &log);
    from->TaskManager(manager);
    from->Identifier = "id";
    from->Tag = 3;
    from->Pausable = false;
    from->StartTime = 42;
    from->UpdateStamp = 9;
    from->Enabled(false);

    EXPECT_EQ(fw::CopyTask(from, to), to);
    EXPECT_EQ(to->Name, "from");
    EXPECT_EQ(to->Identifier, "");
    EXPECT_EQ(to->Tag, 3);
    EXPECT_FALSE(to->Pausable);
    EXPECT_EQ(to->StartTime, 42);
    EXPECT_EQ(to->UpdateStamp, 9);
    EXPECT_FALSE(to->Enabled());
    EXPECT_EQ(to->TaskManager(), manager);
    EXPECT_EQ(manager->Tasks.Length(), 1);

    EXPECT_EQ(fw::CopyTask(nullptr, to), nullptr);
    EXPECT_EQ(fw::CopyTask(from, nullptr), nullptr);
    EXPECT_EQ(std::make_shared<LogTask>("new", &log)->StartTime, 500);
}

TEST(TaskClock, PauseStopsTheClockAndResumesWhereItStood) {
    testsupport::FakeClock clock(1000);
    EXPECT_EQ(fw::TaskTime(), 1000);
    fw::SetTasksPaused(true);
    EXPECT_TRUE(fw::TasksPaused());
    EXPECT_TRUE(fw::TasksHalted());
    clock.now = 4000;
    EXPECT_EQ(fw::TaskTime(), 1000);
    fw::SetTasksPaused(true);  // already set: the halt start stays
    fw::SetTasksPaused(false);
    EXPECT_EQ(fw::TaskTime(), 1000);
    clock.now = 4500;
    EXPECT_EQ(fw::TaskTime(), 1500);
    fw::SetTasksPaused(false);  // already clear: no time added
    EXPECT_EQ(fw::TaskTime(), 1500);
    fw::ToggleTasksFrozen();
    EXPECT_TRUE(fw::TasksFrozen());
    clock.now = 5000;
    fw::ToggleTasksFrozen();
    EXPECT_FALSE(fw::TasksHalted());
    EXPECT_EQ(fw::TaskTime(), 1500);
}

TEST(TaskClock, OverlappingPauseAndFreezeNeverRunBackwards) {
    testsupport::FakeClock clock(0);
    // (time, action, expected TaskTime after the action)
    struct Step {
        std::int64_t at;
        std::function<void()> action;
        int expected;
    };
    const Step steps[] = {
        {100, [] { fw::SetTasksPaused(true); }, 100},
        {300, [] { fw::SetTasksFrozen(true); }, 100},
        {600, [] { fw::SetTasksPaused(false); }, 100},
        {900, [] { fw::SetTasksFrozen(false); }, 100},
        {1000, [] {}, 200},
        {1000, [] { fw::ToggleTasksFrozen(); }, 200},
        {1100, [] { fw::ToggleTasksPaused(); }, 200},
        {1200, [] { fw::ToggleTasksPaused(); }, 200},
        {1300, [] { fw::ToggleTasksFrozen(); }, 200},
        {1400, [] {}, 300},
    };
    int last = fw::TaskTime();
    for (const auto& step : steps) {
        clock.now = step.at;
        step.action();
        const int now = fw::TaskTime();
        EXPECT_EQ(now, step.expected) << "at " << step.at;
        EXPECT_GE(now, last) << "at " << step.at;
        last = now;
    }
}
