#include "kestrum-framework/screenmanager.h"

#include "kestrum-framework/taskmanager.h"

namespace kestrum::framework::screenmanager {

namespace {
ScreenManager* instance = nullptr;
}

ScreenManager* ScreenManagerInstance() { return instance; }

Screen::Screen() : __Manager(instance) {
    if (__Manager) __Manager->__MakeCurrent(this);
}

Screen::~Screen() {
    // Only a manager that still exists is told (it clears the instance when it goes).
    if (__Manager && __Manager == instance) __Manager->__Forget(this);
}

void Screen::Set() {
    if (__Manager) __Manager->__MakeCurrent(this);
}

void Screen::OpenChild(Screen* child) {
    if (!child) return;
    child->Parent = this;
    if (__Manager) __Manager->__CurrentScreen = child;
}

void Screen::Close() {
    if (!Parent) return;
    if (__Manager) {
        __Manager->__CurrentScreen = Parent;
        __Manager->__Replace(this);
    }
    Parent = nullptr;
}

ScreenManager::ScreenManager(const std::string& title, platform::Recti rect, int flags)
    : platform::Window(title, rect, flags) {
    instance = this;
}

ScreenManager::ScreenManager(const std::string& title, int width, int height, int flags)
    : ScreenManager(title, platform::Recti(0, 0, width, height), flags | platform::WindowFlags::Center) {}

ScreenManager::~ScreenManager() {
    if (instance == this) instance = nullptr;
}

void ScreenManager::__MakeCurrent(Screen* screen) {
    if (__CurrentScreen && __CurrentScreen->Started) __Replace(__CurrentScreen);
    __CurrentScreen = screen;
}

void ScreenManager::__Replace(Screen* stopping) {
    // One slot only: a screen still waiting for its stop step when another is
    // replaced is stopped at once, so that no screen is left started.
    if (__StoppingScreen && __StoppingScreen != stopping) {
        Screen* pending = __StoppingScreen;
        __StoppingScreen = nullptr;
        __Stop(pending);
    }
    __StoppingScreen = stopping;
}

void ScreenManager::__Stop(Screen* screen) {
    SetTasksPaused(false);
    screen->Started = false;
    screen->OnStop();
}

void ScreenManager::__Forget(Screen* screen) {
    if (__CurrentScreen == screen) __CurrentScreen = nullptr;
    if (__StoppingScreen == screen) __StoppingScreen = nullptr;
}

void ScreenManager::OnRender(platform::Canvas& canvas) {
    if (Minimized()) return;
    if (auto* app = platform::AppInstance::Instance()) app->RequestRender();

    Screen* screen = __CurrentScreen;
    if (!screen) return;
    if (screen->RunOncePending) {
        screen->RunOncePending = false;
        screen->RunOnce();
        screen = __CurrentScreen;
        if (!screen) return;
    }
    if (!screen->Started) {
        screen->Started = true;
        screen->OnStart();
        screen = __CurrentScreen;
        if (!screen) return;
    }
    screen->OnUpdate();

    if (__StoppingScreen) {
        Screen* stopping = __StoppingScreen;
        __StoppingScreen = nullptr;
        __Stop(stopping);
        return;
    }
    screen = __CurrentScreen;
    if (screen && !screen->RunOncePending && screen->Started) screen->OnRender(canvas);
}

void ScreenManager::OnKeyEvent(platform::KeyEvent& event) {
    if (__CurrentScreen) __CurrentScreen->OnKeyEvent(event);
}

void ScreenManager::OnMouseEvent(platform::MouseEvent& event) {
    if (__CurrentScreen) __CurrentScreen->OnMouseEvent(event);
}

platform::Vec2i ScreenManager::OnMeasure() { return __CurrentScreen ? __CurrentScreen->OnMeasure() : platform::Vec2i{}; }

void ScreenManager::OnWindowEvent(platform::WindowEvent& event) {
    if (__CurrentScreen) __CurrentScreen->OnWindowEvent(event);
    platform::Window::OnWindowEvent(event);
}

}  // namespace kestrum::framework::screenmanager
