// Keyboard, mouse and touch input and the events of the window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

// Key codes: printable keys keep their character (letters lower case),
// Backspace 8, Tab 9, Enter 13, Escape 27, Delete 127; every other key is its
// SDL scancode + 128 (Home 202, End 205, Right 207, Left 208, Down 209, Up 210, F1 186).
namespace Key {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Delete = 127;
constexpr int F1 = 186;
constexpr int Home = 202;
constexpr int PageUp = 203;
constexpr int End = 205;
constexpr int PageDown = 206;
constexpr int Right = 207;
constexpr int Left = 208;
constexpr int Down = 209;
constexpr int Up = 210;
constexpr int Max = 512;
}  // namespace Key

// Modifier bits; the lock keys (Caps Lock, Num Lock) are masked out.
namespace Modifier {
constexpr int LeftShift = 1;
constexpr int RightShift = 2;
constexpr int LeftControl = 4;
constexpr int RightControl = 8;
constexpr int LeftAlt = 16;
constexpr int RightAlt = 32;
constexpr int LeftGui = 64;
constexpr int RightGui = 128;
constexpr int Shift = LeftShift | RightShift;
constexpr int Control = LeftControl | RightControl;
constexpr int Alt = LeftAlt | RightAlt;
}  // namespace Modifier

struct KeyEvent {
    enum Type { KeyDown = 0, KeyRepeat = 1, KeyUp = 2, KeyChar = 3 };
    int type = KeyDown;
    int key = 0;
    int modifiers = 0;
    // The typed text of a KeyChar event: one character per event.
    std::string text;
};

struct MouseEvent {
    enum Type { ButtonDown = 0, ButtonUp = 1, Move = 2, Wheel = 3 };
    int type = Move;
    int button = 0;  // 1 left, 2 middle, 3 right
    Vec2i location;
    Vec2i wheel;
    int modifiers = 0;
};

struct WindowEvent {
    enum Type { Close = 16, Moved = 17, Resized = 18, GainedFocus = 20, LostFocus = 21, Minimized = 22, Restored = 23 };
    int type = Close;
};

class KeyboardDevice {
public:
    bool KeyDown(int key) const;
    // Whether the key went down since the last KeyHit query for it (clears when read).
    bool KeyHit(int key);
    bool KeyReleased(int key);
    int Modifiers() const { return modifiers_; }

    // Fed by the application's event loop (and by tests).
    void SetKey(int key, bool down);
    void SetModifiers(int modifiers) { modifiers_ = modifiers; }
    void Reset();

private:
    std::array<bool, Key::Max> down_{};
    std::array<bool, Key::Max> hit_{};
    std::array<bool, Key::Max> released_{};
    int modifiers_ = 0;
};

// The mouse as the frames see it. Each frame reads the buttons once its
// events are in, so a press and its release that came between the same two
// frames (a touchpad's tap sends both at once) would leave nothing to read.
// A change of a button that comes before any frame saw the one before it
// is therefore kept, and each FrameDone lets one kept change through: a tap
// reads held in one frame and up from the next. A few changes are kept at
// most; beyond that the newest undoes the last one kept.
class MouseDevice {
public:
    // Buttons 1 left, 2 middle, 3 right; other numbers are never down.
    bool ButtonDown(int button) const;
    // Whether the button went down (up) since the last query for it (clears when read).
    bool ButtonPressed(int button);
    bool ButtonReleased(int button);
    // The event loop calls this once each frame has run: the frame count
    // moves on and one kept change of each button comes through.
    void FrameDone();
    // Frames done since the program started; never goes back.
    std::int64_t Frames() const { return frames_; }
    // Frames() when the button last went down: equal to Frames() while the
    // press came since the last frame.
    std::int64_t PressFrame(int button) const;
    // The pointer in window coordinates.
    Vec2i Location() const { return location_; }
    int X() const { return location_.x; }
    int Y() const { return location_.y; }
    // Moves the pointer inside the window.
    void Location(Vec2i location);
    void PointerVisible(bool visible);
    bool PointerVisible() const { return pointerVisible_; }

    void SetButton(int button, bool down);
    void SetLocation(Vec2i location) { location_ = location; }
    // Lets every button go at once, kept changes too (the frame count stays).
    void Reset();

private:
    static constexpr int kMostPending = 4;

    // Sets a button's state with its pressed or released flag.
    void Change(std::size_t button, bool down);

    std::array<bool, 4> down_{};
    std::array<bool, 4> pressed_{};
    std::array<bool, 4> released_{};
    // Changes kept for the coming frames.
    std::array<int, 4> pending_{};
    // Frames() when down_ last changed (-1: at rest since the start).
    std::array<std::int64_t, 4> changedFrame_{-1, -1, -1, -1};
    std::array<std::int64_t, 4> pressFrame_{};
    std::int64_t frames_ = 0;
    Vec2i location_;
    bool pointerVisible_ = true;
};

class TouchDevice {
public:
    static constexpr int MaxFingers = 5;
    bool FingerDown(int finger) const;
    Vec2i FingerLocation(int finger) const;
    void SetFinger(int finger, bool down, Vec2i location);
    void Reset();

private:
    std::array<bool, MaxFingers> down_{};
    std::array<Vec2i, MaxFingers> location_{};
};

KeyboardDevice& Keyboard();
MouseDevice& Mouse();
TouchDevice& Touch();

}  // namespace platform
