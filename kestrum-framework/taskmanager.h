// Tasks, task managers and the task clock.
//
// A Task is anything updated at most once per frame (layer objects and
// widgets derive from it). A TaskManager is an ordered list of tasks updated
// in one pass under fixed skip rules. The task clock is a millisecond clock
// that stands still while the game is paused or frozen; everything whose
// timing must stop with the game reads TaskTime() instead of Millisecs().
//
// Depends on platform/clock.h (Millisecs, which tests replace with a clock of
// their own) and platform/stack.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/stack.h"

namespace kestrum::framework::taskmanager {

class TaskManager;

// The base of every updatable object. Tasks are shared references: a manager
// holds its tasks through std::shared_ptr, so a task must be owned by one
// before it joins a manager. The task's back-reference to its manager does
// not own the manager.
class Task : public std::enable_shared_from_this<Task> {
public:
    Task();
    virtual ~Task() = default;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // Key that scene files give an object; compared by the scene graph.
    std::string Identifier;
    // Name by which object lookups find the task.
    std::string Name;
    // Copied by CopyTask; nothing else reads it.
    int Tag = 0;
    // A pausable task sits out while the task clock is paused.
    bool Pausable = true;
    // TaskTime() at construction.
    int StartTime = 0;
    // Stamp of the last pass that updated the task. Written by drivers that
    // update tasks outside a manager (the scene's layer pass), read by
    // TaskManager::Update, never written by it.
    int UpdateStamp = 0;

    // Per-frame hook; empty in the base class.
    virtual void OnUpdate() {}

    // The base setter only stores the value; derived classes add effects.
    virtual void Enabled(bool value) { Enabled_ = value; }
    virtual bool Enabled() const { return Enabled_; }

    // Moves the task out of its current manager's list (every occurrence, the
    // others keeping their order) and appends it to the new manager's list.
    // Setting the same manager again moves the task to the end; null takes it
    // out of every list. Throws std::bad_weak_ptr when the task is not owned
    // by a shared_ptr and a manager is given.
    void TaskManager(const std::shared_ptr<taskmanager::TaskManager>& manager);
    std::shared_ptr<taskmanager::TaskManager> TaskManager() const { return TaskManager_.lock(); }
    // Whether manager is the task's manager (both null included), decided
    // without locking the back-reference.
    bool ManagedBy(const std::shared_ptr<taskmanager::TaskManager>& manager) const {
        return !TaskManager_.owner_before(manager) && !manager.owner_before(TaskManager_);
    }

protected:
    // The stored flag, which the manager's pass reads in place of the
    // overridable getter.
    bool Enabled_ = true;

private:
    // Non-owning back-reference; CopyTask may set it without adding the task
    // to that manager's list.
    std::weak_ptr<taskmanager::TaskManager> TaskManager_;
    // The pass that last updated the task, so that a task which rejoins the
    // end of the list during its update is not updated again in that pass.
    unsigned LastPass_ = 0;

    friend class taskmanager::TaskManager;
    friend std::shared_ptr<Task> CopyTask(const std::shared_ptr<Task>& from, const std::shared_ptr<Task>& to);
};

// An ordered list of tasks updated in the order they joined. Create managers
// with std::make_shared: tasks refer back to them through weak references.
class TaskManager {
public:
    TaskManager() = default;
    ~TaskManager();
    TaskManager(const TaskManager&) = delete;
    TaskManager& operator=(const TaskManager&) = delete;

    std::string Name;
    // Read-only for callers: join and leave through Task::TaskManager(manager).
    platform::Stack<std::shared_ptr<Task>> Tasks;
    // The stamp used by Update() without argument.
    int Counter = 0;

    // One pass over the list. Skips, tested in this order: every task while
    // the clock is frozen (tested before each task), tasks that already carry
    // the stamp, tasks whose stored Enabled flag is false, pausable tasks
    // while the clock is paused. A task's OnUpdate may add tasks (reached in
    // the same pass) and remove any tasks, itself included: the pass never
    // updates a task twice and never ends early because of a removal.
    void Update(int stamp);
    // Update(Counter), then Counter + 1.
    void Update();

private:
    // Used by Task::TaskManager to keep the list and a running pass in step.
    void Append_(const std::shared_ptr<Task>& task);
    void Remove_(const Task* task);

    // Index of the task being updated by a running pass; -1 outside a pass.
    int PassIndex_ = -1;

    friend class Task;
};

// Copies Enabled, Name, Tag, Pausable, StartTime, the manager reference and
// UpdateStamp (not Identifier) and returns to; null when either is null. The
// copy is not added to the manager's list.
std::shared_ptr<Task> CopyTask(const std::shared_ptr<Task>& from, const std::shared_ptr<Task>& to);

// The task clock: Millisecs() minus the total time spent halted. It stands
// still while paused or frozen and never runs backwards.
int TaskTime();
void SetTasksPaused(bool value);
bool TasksPaused();
void SetTasksFrozen(bool value);
bool TasksFrozen();
void ToggleTasksPaused();
void ToggleTasksFrozen();
// True while paused or frozen.
bool TasksHalted();

// The unit's initialiser: clears both flags and the halt bookkeeping.
void InitTaskManagerUnit();

}  // namespace kestrum::framework::taskmanager

namespace kestrum::framework {
using namespace taskmanager;
}
