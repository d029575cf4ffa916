#include "kestrum-framework/screenmanager.h"

#include "kestrum-framework/taskmanager.h"

namespace kestrum::framework::screenmanager {

namespace {
ScreenManager* instance = nullptr;
}

ScreenManager* ScreenManagerInstance() { return instance; }

Screen::Screen() : Manager_(instance) {
    if (Manager_) Manager_->MakeCurrent_(this);
}

Screen::~Screen() {
    // Only a manager that still exists is told (it clears the instance when it goes).
    if (Manager_ && Manager_ == instance) Manager_->Forget_(this);
}

void Screen::Set() {
    if (Manager_) Manager_->MakeCurrent_(this);
}

void Screen::OpenChild(Screen* child) {
    if (!child) return;
    child->Parent = this;
    if (Manager_) Manager_->CurrentScreen_ = child;
}

void Screen::Close() {
    if (!Parent) return;
    if (Manager_) {
        Manager_->CurrentScreen_ = Parent;
        Manager_->Replace_(this);
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

void ScreenManager::MakeCurrent_(Screen* screen) {
    if (CurrentScreen_ && CurrentScreen_->Started) Replace_(CurrentScreen_);
    CurrentScreen_ = screen;
}

void ScreenManager::Replace_(Screen* stopping) {
    // One slot only: a screen still waiting for its stop step when another is
    // replaced is stopped at once, so that no screen is left started.
    if (StoppingScreen_ && StoppingScreen_ != stopping) {
        Screen* pending = StoppingScreen_;
        StoppingScreen_ = nullptr;
        Stop_(pending);
    }
    StoppingScreen_ = stopping;
}

void ScreenManager::Stop_(Screen* screen) {
    SetTasksPaused(false);
    screen->Started = false;
    screen->OnStop();
}

void ScreenManager::Forget_(Screen* screen) {
    if (CurrentScreen_ == screen) CurrentScreen_ = nullptr;
    if (StoppingScreen_ == screen) StoppingScreen_ = nullptr;
}

void ScreenManager::OnRender(platform::Canvas& canvas) {
    if (Minimized()) return;
    if (auto* app = platform::AppInstance::Instance()) app->RequestRender();

    Screen* screen = CurrentScreen_;
    if (!screen) return;
    if (screen->RunOncePending) {
        screen->RunOncePending = false;
        screen->RunOnce();
        screen = CurrentScreen_;
        if (!screen) return;
    }
    if (!screen->Started) {
        screen->Started = true;
        screen->OnStart();
        screen = CurrentScreen_;
        if (!screen) return;
    }
    screen->OnUpdate();

    if (StoppingScreen_) {
        Screen* stopping = StoppingScreen_;
        StoppingScreen_ = nullptr;
        Stop_(stopping);
        return;
    }
    screen = CurrentScreen_;
    if (screen && !screen->RunOncePending && screen->Started) screen->OnRender(canvas);
}

void ScreenManager::OnKeyEvent(platform::KeyEvent& event) {
    if (CurrentScreen_) CurrentScreen_->OnKeyEvent(event);
}

void ScreenManager::OnMouseEvent(platform::MouseEvent& event) {
    if (CurrentScreen_) CurrentScreen_->OnMouseEvent(event);
}

platform::Vec2i ScreenManager::OnMeasure() { return CurrentScreen_ ? CurrentScreen_->OnMeasure() : platform::Vec2i{}; }

void ScreenManager::OnWindowEvent(platform::WindowEvent& event) {
    if (CurrentScreen_) CurrentScreen_->OnWindowEvent(event);
    platform::Window::OnWindowEvent(event);
}

}  // namespace kestrum::framework::screenmanager
