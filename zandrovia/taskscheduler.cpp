// Zandrovia: the task scheduler.
#include "zandrovia/taskscheduler.h"

#include <algorithm>

using kestrum::framework::TaskTime;

TaskScheduler::TaskScheduler() {
    Pending_.reserve(10);
    Done_.reserve(10);
}

void TaskScheduler::Add(const std::shared_ptr<kestrum::framework::Task>& task, int delay) {
    if (!task) return;
    task->Enabled(false);
    auto entry = std::make_shared<Data_>();
    entry->Task = task;
    entry->Time = TaskTime() + delay;
    Pending_.push_back(std::move(entry));
}

void TaskScheduler::Update(bool pausable) {
    if (kestrum::framework::TasksFrozen()) return;
    if (pausable && kestrum::framework::TasksPaused()) return;
    // By index: enabling a task may add entries, which are reached in this walk too.
    for (std::size_t i = 0; i < Pending_.size(); ++i) {
        const std::shared_ptr<Data_> entry = Pending_[i];
        if (TaskTime() > entry->Time) {
            entry->Task->Enabled(true);
            Done_.push_back(entry);
        }
    }
    for (const auto& done : Done_) std::erase(Pending_, done);
    Done_.clear();
}

void TaskScheduler::Clear() {
    Pending_.clear();
    Done_.clear();
}

int TaskScheduler::PendingTime(int index) const {
    if (index < 0 || index >= Pending()) return 0;
    return Pending_[static_cast<std::size_t>(index)]->Time;
}

std::shared_ptr<kestrum::framework::Task> TaskScheduler::PendingTask(int index) const {
    if (index < 0 || index >= Pending()) return nullptr;
    return Pending_[static_cast<std::size_t>(index)]->Task;
}
