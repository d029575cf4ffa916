#include "kestrum-framework/input.h"

#include "platform/input.h"

namespace kestrum::framework::input {

void InputDevice::InitFields() {
    Down.fill(false);
    Hit.fill(false);
    Released.fill(false);
    Latch.fill(0);
}

void InputDevice::Update() {
    for (int button = 1; button <= 3; ++button) UpdateButton(button);
}

void InputDevice::UpdateButton(int button) {
    if (button < 1 || button > 3) return;
    const auto b = static_cast<std::size_t>(button);
    Hit[b] = false;
    Released[b] = false;
    Down[b] = platform::Mouse().ButtonDown(button);
    if (Down[b]) {
        if (Latch[b] == 0) {
            Hit[b] = true;
            Latch[b] = 1;
        }
    } else if (Latch[b] == 1) {
        Released[b] = true;
        Latch[b] = 0;
    }
}

void InputDevice::ForgetEarlierPresses() {
    const platform::MouseDevice& mouse = platform::Mouse();
    for (int button = 1; button <= 3; ++button) {
        const auto b = static_cast<std::size_t>(button);
        Hit[b] = Down[b] && mouse.PressFrame(button) == mouse.Frames();
        Released[b] = false;
    }
}

bool TouchActive() { return false; }

int FirstTouch() {
    for (int finger = 0; finger < platform::TouchDevice::MaxFingers; ++finger) {
        if (platform::Touch().FingerDown(finger)) return finger;
    }
    return -1;
}

int TouchCount() {
    for (int finger = platform::TouchDevice::MaxFingers - 1; finger >= 0; --finger) {
        if (platform::Touch().FingerDown(finger)) return finger + 1;
    }
    return 0;
}

}  // namespace kestrum::framework::input
