// The task scheduler: tasks wait disabled for their time on the task clock,
// fall due in the order they were added and stand still while the clock is halted.
#include "zandrovia/taskscheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fakeclock.h"

namespace {

using kestrum::framework::SetTasksFrozen;
using kestrum::framework::SetTasksPaused;

// A task that writes its name into a log whenever it is enabled.
struct LoggedTask : kestrum::framework::Task {
    LoggedTask(std::string name, std::vector<std::string>* log) : log_(log) { Name = std::move(name); }
    void Enabled(bool value) override {
        Task::Enabled(value);
        if (value) log_->push_back(Name);
    }
    bool Enabled() const override { return Task::Enabled(); }
    std::vector<std::string>* log_;
};

}  // namespace

TEST(TaskScheduler, TasksWaitDisabledAndStartInTheOrderAddedOnceTheClockIsPastTheirTime) {
    testsupport::FakeClock clock(1000);
    std::vector<std::string> log;
    TaskScheduler scheduler;
    auto make = [&](const char* name) { return std::make_shared<LoggedTask>(name, &log); };
    const auto late = make("late"), first = make("first"), second = make("second"), zero = make("zero"),
               negative = make("negative");
    scheduler.Add(late, 200);
    scheduler.Add(first, 100);
    scheduler.Add(second, 100);
    scheduler.Add(zero, 0);
    scheduler.Add(negative, -1);
    EXPECT_EQ(scheduler.Pending(), 5);
    EXPECT_EQ(scheduler.PendingTime(1), 1100);
    EXPECT_EQ(scheduler.PendingTask(4), negative);
    for (const auto& task : {late, first, second, zero, negative}) EXPECT_FALSE(task->Enabled());

    // (clock, names enabled by that update)
    const struct {
        int now;
        std::vector<std::string> enabled;
    } steps[] = {
        {1000, {"negative"}},              // only a negative delay is already past
        {1001, {"zero"}},                  // a delay of 0 needs the clock to move on
        {1100, {}},                        // due strictly after the time
        {1101, {"first", "second"}},       // same time: in the order added
        {1200, {}},
        {1201, {"late"}},
        {5000, {}},
    };
    for (const auto& step : steps) {
        clock.now = step.now;
        log.clear();
        scheduler.Update(true);
        EXPECT_EQ(log, step.enabled) << "at " << step.now;
    }
    EXPECT_EQ(scheduler.Pending(), 0);
}

TEST(TaskScheduler, PauseAndFreezeHoldTheDelays) {
    testsupport::FakeClock clock(0);
    std::vector<std::string> log;
    TaskScheduler scheduler;
    const auto task = std::make_shared<LoggedTask>("task", &log);
    scheduler.Add(task, 500);

    clock.now = 200;
    SetTasksPaused(true);
    clock.now = 5200;  // 5 s in the pause menu: the task clock stands at 200
    scheduler.Update(true);
    EXPECT_TRUE(log.empty());
    SetTasksPaused(false);
    clock.now = 5500;  // 500 ms of running clock so far
    scheduler.Update(true);
    EXPECT_TRUE(log.empty());
    clock.now = 5501;
    scheduler.Update(true);
    EXPECT_EQ(log, std::vector<std::string>{"task"});

    // Frozen: nothing whatever the argument; paused with False: the pause is ignored.
    log.clear();
    scheduler.Add(task, 0);
    clock.now = 6000;
    SetTasksFrozen(true);
    scheduler.Update(false);
    scheduler.Update(true);
    EXPECT_TRUE(log.empty());
    SetTasksFrozen(false);
    SetTasksPaused(true);
    scheduler.Update(true);
    EXPECT_TRUE(log.empty());
    clock.now = 7000;
    scheduler.Update(false);
    EXPECT_EQ(log, std::vector<std::string>{"task"});
    SetTasksPaused(false);
}

TEST(TaskScheduler, ClearLeavesWaitingTasksDisabledAndDueEntriesEnableWhatever) {
    testsupport::FakeClock clock(0);
    std::vector<std::string> log;
    TaskScheduler scheduler;
    const auto dropped = std::make_shared<LoggedTask>("dropped", &log);
    scheduler.Add(dropped, 10);
    scheduler.Clear();
    EXPECT_EQ(scheduler.Pending(), 0);
    clock.now = 1000;
    scheduler.Update(true);
    EXPECT_FALSE(dropped->Enabled());

    // Added twice: two entries, the first due enables it, the later one again.
    const auto twice = std::make_shared<LoggedTask>("twice", &log);
    scheduler.Add(twice, 100);
    scheduler.Add(twice, 300);
    clock.now = 1101;
    scheduler.Update(true);
    EXPECT_TRUE(twice->Enabled());
    EXPECT_EQ(scheduler.Pending(), 1);
    // Disabled by other code meanwhile: the due entry enables it all the same.
    twice->Enabled(false);
    clock.now = 1301;
    scheduler.Update(true);
    EXPECT_TRUE(twice->Enabled());
    EXPECT_EQ(log, (std::vector<std::string>{"twice", "twice"}));

    // The scheduler keeps a waiting task alive; a null task is ignored.
    std::weak_ptr<LoggedTask> held;
    {
        auto temporary = std::make_shared<LoggedTask>("temporary", &log);
        held = temporary;
        scheduler.Add(temporary, 50);
    }
    EXPECT_FALSE(held.expired());
    scheduler.Add(nullptr, 0);
    EXPECT_EQ(scheduler.Pending(), 1);
    scheduler.Clear();
    EXPECT_TRUE(held.expired());
}
