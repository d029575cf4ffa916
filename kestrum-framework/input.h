// The input device: the platform's mouse-button state turned into
// per-frame edges. Each owner (the scene, every GUI layer) samples its own
// device once per frame, so reading one never disturbs another. Only the
// held state is sampled; the platform's clear-on-read pressed and released
// flags are not used. A tap (press and release between two frames) is held
// for one frame by the platform's mouse, so it shows as a press and a
// release in two updates like any click.
//
// Depends on platform/input.h.
#pragma once

#include <array>

namespace kestrum::framework::input {

class InputDevice {
public:
    // Indexed by button: 1 left, 2 middle, 3 right (index 0 is never written).
    std::array<bool, 4> Down{};
    // The button went down in the last update.
    std::array<bool, 4> Hit{};
    // The button came up in the last update (only after a reported press).
    std::array<bool, 4> Released{};
    // 1 while a press has been reported and its release not yet.
    std::array<int, 4> Latch{};

    // Puts every array back to its starting state (all false / 0).
    void InitFields();
    // Samples buttons 1, 2 and 3 in this order.
    void Update();
    // Samples one button; numbers outside 1 to 3 are ignored.
    void UpdateButton(int button);
    // For an owner that did not update in the frame before: drops this
    // update's edges of presses that came earlier. A held button reports
    // Hit only when its press came since the last frame, and none reports
    // Released; the latches stay, so a held press gives no Hit later.
    void ForgetEarlierPresses();
};

// Touch is never active on this desktop program.
bool TouchActive();
// The lowest finger index 0 to 4 that is down, -1 when none is.
int FirstTouch();
// One more than the highest finger index 0 to 4 that is down, 0 when none is.
int TouchCount();

}  // namespace kestrum::framework::input

namespace kestrum::framework {
using namespace input;
}
