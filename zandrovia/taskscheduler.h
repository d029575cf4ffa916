// Zandrovia: the task scheduler, which starts things later.
//
// A level script creates every object of its level at once and hands each
// timed one to the scheduler with a delay in milliseconds of the task clock:
// Add disables the task at once and Update enables it again in the first
// update in which the task clock is past its time. The task clock stands
// still while the game is paused or frozen, so a pause never eats into the
// delays. The scheduler holds a reference to each waiting task until its
// entry falls due or Clear drops it; Clear leaves the dropped tasks disabled.
//
// There is one instance, GameScheduler (globals.h), run once per frame by
// the Game screen.
//
// Depends on kestrum-framework (Task, TaskTime).
#pragma once

#include <memory>
#include <vector>

#include "kestrum-framework/taskmanager.h"

class TaskScheduler {
public:
    TaskScheduler();

    // Disables the task (through its own Enabled setter) and schedules it to
    // be enabled delay milliseconds of the task clock from now. Each call
    // makes an entry of its own; a null task is ignored.
    void Add(const std::shared_ptr<kestrum::framework::Task>& task, int delay);
    // Enables every task whose time has come, in the order they were added.
    // Nothing while the task clock is frozen, nor while it is paused when
    // pausable is set.
    void Update(bool pausable);
    // Forgets every pending entry; the tasks stay as they are.
    void Clear();

    // The waiting entries, in the order they were added.
    int Pending() const { return static_cast<int>(Pending_.size()); }
    // The task-clock time after which entry index falls due (0 outside the list).
    int PendingTime(int index) const;
    // The task of entry index (null outside the list).
    std::shared_ptr<kestrum::framework::Task> PendingTask(int index) const;

private:
    struct Data_ {
        std::shared_ptr<kestrum::framework::Task> Task;
        int Time = 0;
    };

    std::vector<std::shared_ptr<Data_>> Pending_;
    // The entries that fell due in the running update; empty between updates.
    std::vector<std::shared_ptr<Data_>> Done_;
};
