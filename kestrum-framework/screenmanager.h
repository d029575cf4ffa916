// Screens and the screen manager: where the platform's frame loop enters the
// program's own logic.
//
// ScreenManager is the program's window class; each frame its render
// handler drives the current Screen through a fixed life cycle: RunOnce in
// the first frame the screen is current, OnStart whenever it is current but
// not started, OnUpdate, and then either the OnStop of a replaced screen (no
// render in that frame) or OnRender of the current screen. A switch made in
// OnUpdate completes in the same frame, one made in OnRender in the next.
//
// Screens are owned by the program (the game holds them); the manager and
// screens refer to each other without owning. A screen that is destroyed
// takes itself out of the manager.
//
// Depends on taskmanager.h (the stop step lifts the task clock's pause) and
// platform/app.h.
#pragma once

#include <string>

#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/types.h"

namespace kestrum::framework::screenmanager {

class ScreenManager;

// One stage of the program. A new screen becomes current when it is
// constructed, so the screen manager must exist first.
class Screen {
public:
    Screen();
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // RunOnce has not run yet.
    bool RunOncePending = true;
    // The screen that opened this one with OpenChild.
    Screen* Parent = nullptr;
    // OnStart has run since the screen last became current.
    bool Started = false;

    // Hooks; every one is empty in the base class. A hook may switch screens.
    // In the first frame in which the screen is current.
    virtual void RunOnce() {}
    // For every window event while current.
    virtual void OnWindowEvent(platform::WindowEvent& event) { (void)event; }
    // Every frame while current.
    virtual void OnUpdate() {}
    // Once, in the frame after the screen was replaced.
    virtual void OnStop() {}
    // Whenever the screen is current and not started.
    virtual void OnStart() {}
    // Every frame while current, set up and started.
    virtual void OnRender(platform::Canvas& canvas) { (void)canvas; }
    virtual void OnMouseEvent(platform::MouseEvent& event) { (void)event; }
    // The screen's preferred window size; (0, 0) in the base class.
    virtual platform::Vec2i OnMeasure() { return {0, 0}; }
    virtual void OnKeyEvent(platform::KeyEvent& event) { (void)event; }

    // Makes this screen current; a started current screen (this one
    // included) is stopped in the next frame step.
    void Set();
    // Makes the child current without stopping this screen.
    void OpenChild(Screen* child);
    // Returns to the parent (without a new OnStart of it) and stops this screen.
    void Close();
    ScreenManager* Manager() const { return Manager_; }

private:
    // The manager that drives the screen (the instance at construction).
    ScreenManager* Manager_ = nullptr;
};

// The program's window class; one instance per program.
class ScreenManager : public platform::Window {
public:
    ScreenManager(const std::string& title, platform::Recti rect, int flags);
    // Opens centred on the screen: the flags are or-ed with 3.
    ScreenManager(const std::string& title, int width, int height, int flags);
    ~ScreenManager() override;

    Screen* CurrentScreen() const { return CurrentScreen_; }
    Screen* StoppingScreen() const { return StoppingScreen_; }

    // The frame step.
    void OnRender(platform::Canvas& canvas) override;
    // Passed to the current screen; dropped without one.
    void OnKeyEvent(platform::KeyEvent& event) override;
    void OnMouseEvent(platform::MouseEvent& event) override;
    // The current screen's OnMeasure, (0, 0) without one.
    platform::Vec2i OnMeasure() override;
    // The current screen first, then the window's default handling (a close
    // request ends the program).
    void OnWindowEvent(platform::WindowEvent& event) override;

private:
    // The screen switch shared by Screen's constructor and Set.
    void MakeCurrent_(Screen* screen);
    // Makes a screen that replaced the current one wait for its stop step.
    void Replace_(Screen* stopping);
    // A screen being destroyed leaves every slot.
    void Forget_(Screen* screen);
    void Stop_(Screen* screen);

    Screen* CurrentScreen_ = nullptr;
    // A replaced screen that waits for its OnStop; one at most.
    Screen* StoppingScreen_ = nullptr;

    // A screen switches itself in and out (Set, OpenChild, Close, its destructor).
    friend class Screen;
};

// The screen manager constructed last; null when there is none.
ScreenManager* ScreenManagerInstance();

}  // namespace kestrum::framework::screenmanager

namespace kestrum::framework {
using namespace screenmanager;
}
