// DeltaTimer: turns the time between two updates into a factor relative to
// a target frame rate (1.0 at exactly the target rate). The game advances
// everything per update and does not use it.
//
// Depends on platform/clock.h.
#pragma once

namespace kestrum::framework::deltatimer {

class DeltaTimer {
public:
    // Measures from the clock's zero unless Reset() comes first.
    DeltaTimer() = default;
    // Measures from now.
    explicit DeltaTimer(float fps);

    // Frames elapsed in the last update against the target rate, times Scale.
    float Delta = 0;
    // Sum of Delta / TargetFps: scaled seconds since the start.
    float Seconds = 0;
    // Sum of the measured milliseconds.
    float TotalMs = 0;
    // Milliseconds measured by the last update.
    float ElapsedMs = 0;
    float TargetFps = 60;
    float Scale = 1;
    // Millisecs() at the last update or reset.
    int LastMs = 0;

    // One measurement; called once per frame. A target rate of 0 or less
    // gives a Delta of 0 and leaves Seconds as it was.
    void Update();
    // The next Update measures from now.
    void Reset();
};

}  // namespace kestrum::framework::deltatimer

namespace kestrum::framework {
using namespace deltatimer;
}
