// Keyboard, mouse and touch devices. The application's event loop feeds them
// through the setters and ends each frame on the mouse (FrameDone); the game
// reads them. Hit, pressed and released flags clear when read, so each
// transition is seen once.
#include "platform/input.h"

#include <SDL.h>

#include "platform/app.h"

namespace platform {
namespace {

template <std::size_t N>
bool InRange(int index, const std::array<bool, N>&) {
    return index >= 0 && static_cast<std::size_t>(index) < N;
}

// Reads a flag and clears it.
template <std::size_t N>
bool Take(std::array<bool, N>& flags, int index) {
    if (!InRange(index, flags)) return false;
    const bool value = flags[static_cast<std::size_t>(index)];
    flags[static_cast<std::size_t>(index)] = false;
    return value;
}

// Button 0 is not a button: only 1 left, 2 middle and 3 right are.
bool IsButton(int button) { return button >= 1 && button <= 3; }

}  // namespace

bool KeyboardDevice::KeyDown(int key) const { return InRange(key, down_) && down_[static_cast<std::size_t>(key)]; }
bool KeyboardDevice::KeyHit(int key) { return Take(hit_, key); }
bool KeyboardDevice::KeyReleased(int key) { return Take(released_, key); }

void KeyboardDevice::SetKey(int key, bool down) {
    if (!InRange(key, down_)) return;
    const auto k = static_cast<std::size_t>(key);
    if (down && !down_[k]) hit_[k] = true;
    if (!down && down_[k]) released_[k] = true;
    down_[k] = down;
}

void KeyboardDevice::Reset() {
    down_.fill(false);
    hit_.fill(false);
    released_.fill(false);
    modifiers_ = 0;
}

bool MouseDevice::ButtonDown(int button) const { return IsButton(button) && down_[static_cast<std::size_t>(button)]; }
bool MouseDevice::ButtonPressed(int button) { return IsButton(button) && Take(pressed_, button); }
bool MouseDevice::ButtonReleased(int button) { return IsButton(button) && Take(released_, button); }

std::int64_t MouseDevice::PressFrame(int button) const {
    return IsButton(button) ? pressFrame_[static_cast<std::size_t>(button)] : 0;
}

void MouseDevice::SetButton(int button, bool down) {
    if (!IsButton(button)) return;
    const auto b = static_cast<std::size_t>(button);
    // The kept changes alternate, starting from the opposite of down_.
    const bool last = pending_[b] % 2 == 1 ? !down_[b] : down_[b];
    if (down == last) return;
    if (pending_[b] == 0 && changedFrame_[b] != frames_) {
        Change(b, down);
    } else if (pending_[b] < kMostPending) {
        ++pending_[b];
    } else {
        // Full: the newest change undoes the last one kept.
        --pending_[b];
    }
}

void MouseDevice::FrameDone() {
    ++frames_;
    for (std::size_t b = 1; b < pending_.size(); ++b) {
        if (pending_[b] == 0) continue;
        --pending_[b];
        Change(b, !down_[b]);
    }
}

void MouseDevice::Change(std::size_t button, bool down) {
    down_[button] = down;
    if (down) {
        pressed_[button] = true;
        pressFrame_[button] = frames_;
    } else {
        released_[button] = true;
    }
    changedFrame_[button] = frames_;
}

void MouseDevice::Location(Vec2i location) {
    location_ = location;
    // With no video system or no window there is no pointer to move.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    SDL_Window* window = SDL_GetMouseFocus();
    if (window == nullptr) window = SDL_GetKeyboardFocus();
    if (window == nullptr) {
        // Unfocused: the application's main window.
        const AppInstance* app = AppInstance::Instance();
        if (app != nullptr && app->MainWindow() != nullptr) {
            window = static_cast<SDL_Window*>(app->MainWindow()->SdlWindow());
        }
    }
    if (window != nullptr) SDL_WarpMouseInWindow(window, location.x, location.y);
}

void MouseDevice::PointerVisible(bool visible) {
    pointerVisible_ = visible;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void MouseDevice::Reset() {
    down_.fill(false);
    pressed_.fill(false);
    released_.fill(false);
    pending_.fill(0);
    changedFrame_.fill(-1);
}

bool TouchDevice::FingerDown(int finger) const {
    return InRange(finger, down_) && down_[static_cast<std::size_t>(finger)];
}

Vec2i TouchDevice::FingerLocation(int finger) const {
    return InRange(finger, down_) ? location_[static_cast<std::size_t>(finger)] : Vec2i{};
}

void TouchDevice::SetFinger(int finger, bool down, Vec2i location) {
    if (!InRange(finger, down_)) return;
    down_[static_cast<std::size_t>(finger)] = down;
    location_[static_cast<std::size_t>(finger)] = location;
}

void TouchDevice::Reset() {
    down_.fill(false);
    location_.fill(Vec2i{});
}

KeyboardDevice& Keyboard() {
    static KeyboardDevice device;
    return device;
}

MouseDevice& Mouse() {
    static MouseDevice device;
    return device;
}

TouchDevice& Touch() {
    static TouchDevice device;
    return device;
}

}  // namespace platform
