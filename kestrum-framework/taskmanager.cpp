#include "kestrum-framework/taskmanager.h"

#include "platform/clock.h"

namespace kestrum::framework::taskmanager {

namespace {

// The task clock. The two flags halt one clock, so the bookkeeping follows
// the combined halted state: the halt start is taken when the clock goes from
// running to halted, and the halted time is added when it runs again. Seen
// per flag, overlapping halts would be counted twice and a second flag would
// move the start, making TaskTime() jump backwards.
bool paused = false;
bool frozen = false;
std::int64_t pauseStartMs = 0;
std::int64_t totalPausedMs = 0;

bool Halted() { return paused || frozen; }

// Numbers every pass of every manager; 0 is never used, so a new task has
// been updated by no pass.
unsigned passSerial = 0;

void SetFlag(bool& flag, bool value) {
    if (flag == value) return;
    const bool wasHalted = Halted();
    flag = value;
    const bool halted = Halted();
    if (!wasHalted && halted) {
        pauseStartMs = platform::Millisecs();
    } else if (wasHalted && !halted) {
        totalPausedMs += platform::Millisecs() - pauseStartMs;
    }
}

}  // namespace

Task::Task() : StartTime(TaskTime()) {}

void Task::TaskManager(const std::shared_ptr<taskmanager::TaskManager>& manager) {
    if (auto old = TaskManager_.lock()) old->Remove_(this);
    TaskManager_ = manager;
    if (manager) manager->Append_(shared_from_this());
}

// The tasks' back-references are weak and expire with the manager.
TaskManager::~TaskManager() = default;

void TaskManager::Append_(const std::shared_ptr<Task>& task) { Tasks.Add(task); }

void TaskManager::Remove_(const Task* task) {
    auto& items = Tasks.Data();
    for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i) {
        if (items[static_cast<std::size_t>(i)].get() != task) continue;
        items.erase(items.begin() + i);
        // A running pass steps back only for the tasks that stood at or before
        // its current index; removals further on do not shift its position.
        if (PassIndex_ >= 0 && i <= PassIndex_) --PassIndex_;
    }
}

void TaskManager::Update(int stamp) {
    const int outerIndex = PassIndex_;
    if (++passSerial == 0) ++passSerial;
    const unsigned pass = passSerial;
    for (PassIndex_ = 0; PassIndex_ < Tasks.Length(); ++PassIndex_) {
        if (frozen) continue;
        Task* task = Tasks[PassIndex_].get();
        if (task->UpdateStamp == stamp) continue;
        if (!task->Enabled_) continue;
        if (task->Pausable && paused) continue;
        if (task->LastPass_ == pass) continue;
        task->LastPass_ = pass;
        // Hold the task for the call: it may take itself out of every list.
        const std::shared_ptr<Task> keep = Tasks[PassIndex_];
        keep->OnUpdate();
        // After removals PassIndex_ may be -1 (the first task left): the
        // increment continues the pass at index 0.
    }
    PassIndex_ = outerIndex;
}

void TaskManager::Update() {
    Update(Counter);
    ++Counter;
}

std::shared_ptr<Task> CopyTask(const std::shared_ptr<Task>& from, const std::shared_ptr<Task>& to) {
    if (!from || !to) return nullptr;
    to->Enabled(from->Enabled());
    to->Name = from->Name;
    to->Tag = from->Tag;
    to->Pausable = from->Pausable;
    to->StartTime = from->StartTime;
    to->TaskManager_ = from->TaskManager_;
    to->UpdateStamp = from->UpdateStamp;
    return to;
}

int TaskTime() {
    const std::int64_t now = Halted() ? pauseStartMs : platform::Millisecs();
    return static_cast<int>(now - totalPausedMs);
}

void SetTasksPaused(bool value) { SetFlag(paused, value); }
bool TasksPaused() { return paused; }
void SetTasksFrozen(bool value) { SetFlag(frozen, value); }
bool TasksFrozen() { return frozen; }
void ToggleTasksPaused() { SetFlag(paused, !paused); }
void ToggleTasksFrozen() { SetFlag(frozen, !frozen); }
bool TasksHalted() { return Halted(); }

void InitTaskManagerUnit() {
    paused = false;
    frozen = false;
    pauseStartMs = 0;
    totalPausedMs = 0;
}

}  // namespace kestrum::framework::taskmanager
