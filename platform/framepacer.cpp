// FramePacer: the deadline arithmetic of the frame limiter.
#include "platform/framepacer.h"

#include <algorithm>

namespace platform {

FramePacer::FramePacer(std::int64_t period) : period_(std::max<std::int64_t>(period, 1)) {}

std::int64_t FramePacer::FramePresented(std::int64_t now) {
    if (!started_) {
        // Nothing is known of when the first frame began: the next one begins now.
        started_ = true;
        deadline_ = now;
        return 0;
    }
    const std::int64_t next = deadline_ + period_;
    // A swap held by a display of (nearly) 60 Hz returns about on the
    // deadline, a hair early or late; early by at most this much counts as on time.
    const std::int64_t tolerance = period_ / 64;
    if (now < next - tolerance) {
        deadline_ = next;
        return next - now;
    }
    if (now <= next) {
        // On time by the display's own clock: follow it rather than drift against it.
        deadline_ = now;
    } else if (now - next <= period_) {
        // A late frame: the next begins at once, and the ones after catch up.
        deadline_ = next;
    } else {
        // A stall: start afresh instead of rushing frames to make up for it.
        deadline_ = now;
    }
    return 0;
}

}  // namespace platform
