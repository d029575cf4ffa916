// FramePacer: holds the main loop to at most 60 frames per second, whatever
// the display's buffer swap does.
//
// Game logic advances one fixed step per frame, so a swap that does not wait
// for the display (no vertical sync, a driver that ignores it, a virtual
// display) or a display faster than 60 Hz would run the game too fast. After
// each swap the application asks the pacer how long to wait: frames start on
// deadlines 1/60 s apart. A frame that ran late starts the next one at once
// and later frames catch up with the deadlines; after a long stall (more than
// a period behind) the deadlines start afresh from now instead of letting a
// burst of frames catch up. A swap that already waited for a 60 Hz display
// meets its deadline on its own, so the pacer then waits for nothing; the
// deadlines follow such a display even when its rate is a little off 60 Hz.
//
// Pure arithmetic on times in nanoseconds of a monotonic clock, which the
// caller reads, so tests can drive it with times of their own.
#pragma once

#include <cstdint>

namespace platform {

class FramePacer {
public:
    static constexpr std::int64_t Second = 1'000'000'000;
    // 1/60 s.
    static constexpr std::int64_t DefaultPeriod = Second / 60;

    explicit FramePacer(std::int64_t period = DefaultPeriod);

    // Called right after a frame was presented, at time now: how long to wait
    // (0 or more nanoseconds) before the next frame may begin.
    std::int64_t FramePresented(std::int64_t now);
    // Forgets the deadlines: the next frame counts as the first.
    void Reset() { started_ = false; }

    std::int64_t Period() const { return period_; }

private:
    std::int64_t period_;
    // The earliest start of the next frame.
    std::int64_t deadline_ = 0;
    bool started_ = false;
};

}  // namespace platform
