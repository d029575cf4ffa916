#include "kestrum-framework/deltatimer.h"

#include "platform/clock.h"

namespace kestrum::framework::deltatimer {

DeltaTimer::DeltaTimer(float fps) : TargetFps(fps), LastMs(static_cast<int>(platform::Millisecs())) {}

void DeltaTimer::Update() {
    ElapsedMs = static_cast<float>(platform::Millisecs() - LastMs);
    LastMs = static_cast<int>(platform::Millisecs());
    TotalMs += ElapsedMs;
    if (TargetFps <= 0) {
        Delta = 0;
        return;
    }
    Delta = ElapsedMs / (1000.0f / TargetFps) * Scale;
    Seconds += Delta / TargetFps;
}

void DeltaTimer::Reset() { LastMs = static_cast<int>(platform::Millisecs()); }

}  // namespace kestrum::framework::deltatimer
