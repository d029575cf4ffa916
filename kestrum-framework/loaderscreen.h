// LoaderScreen: spreads a long list of load actions over many frames so the
// window keeps drawing a progress display while assets load.
//
// A derived screen writes its whole script once, as OnLoad, guarding every
// load action with Step(): the action runs only when Step() returns true.
// The script runs once per frame; the first run only counts the steps, and
// from then on each frame grants exactly one step not yet done. When every
// step is done the next screen is made current. Every run of the script
// must make the same Step() calls in the same order.
//
// Depends on screenmanager.h and arrays.h.
#pragma once

#include <vector>

#include "kestrum-framework/screenmanager.h"

namespace kestrum::framework::loaderscreen {

class LoaderScreen : public screenmanager::Screen {
public:
    // One step may still be granted in the current run of the script.
    bool LoadNow = false;
    // Number of steps done.
    int Loaded = 0;
    // One flag per step, made after the counting run; empty until then.
    std::vector<bool> Done;
    // Number of steps, counted in the first run.
    int Steps = 0;
    // The step that the next Step() call stands for in the current run.
    int StepIndex = 0;

    // The load script; empty in the base class.
    virtual void OnLoad() {}
    // Called from OnLoad before each load action (see above). A call beyond
    // the counted steps returns false.
    bool Step();
    // One frame of loading; draws nothing.
    void Draw(platform::Canvas& canvas);
    // Calls Draw. A derived screen draws its progress after calling this.
    void OnRender(platform::Canvas& canvas) override;

    screenmanager::Screen* NextScreen() const { return NextScreen_; }
    void NextScreen(screenmanager::Screen* screen) { NextScreen_ = screen; }

    // Counts the steps again in the next frame.
    void Reset();

private:
    // The screen made current when loading is complete.
    screenmanager::Screen* NextScreen_ = nullptr;
};

}  // namespace kestrum::framework::loaderscreen

namespace kestrum::framework {
using namespace loaderscreen;
}
