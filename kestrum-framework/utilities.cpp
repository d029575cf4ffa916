#include "kestrum-framework/utilities.h"

#include <cstdint>

#include "kestrum-framework/math.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace kestrum::framework::utilities {

namespace {
std::int64_t stopwatchStart = 0;
int fpsCurrent = 0;
int fpsFrames = 0;
std::int64_t fpsNextSecond = 0;
}  // namespace

int BlendModeFromInt(int mode) { return mode >= 1 && mode <= 4 ? mode : 2; }

int BlendModeFromName(const std::string& name) {
    const std::string lower = platform::ToLower(name);
    if (lower == "opaque") return 1;
    if (lower == "alpha") return 2;
    if (lower == "additive") return 3;
    if (lower == "multiply") return 4;
    return 2;
}

bool Contains(const std::string& text, const std::vector<std::string>& list) {
    for (const auto& element : list) {
        if (platform::Compare(element, text) == 0) return true;
    }
    return false;
}

bool Contains(int value, const std::vector<int>& list) {
    for (int element : list) {
        if (element == value) return true;
    }
    return false;
}

std::string BoolToString(bool value) { return value ? "True" : "False"; }

int GetBit(int bit, int value) {
    if (bit < 0 || bit > 31) return 0;
    return static_cast<int>((static_cast<std::uint32_t>(value) >> bit) & 1u);
}

int SetBit(int bit, int value) {
    if (bit < 0 || bit > 31) return value;
    return static_cast<int>(static_cast<std::uint32_t>(value) | (1u << bit));
}

int Percent(float percent, float value) {
    // Multiplied first: 29 / 100 has no exact binary form, and 0.29 × 100
    // would truncate to 28.
    return math::TruncToInt(static_cast<double>(percent) * value / 100.0);
}

int Stopwatch() {
    if (stopwatchStart != 0) {
        const std::int64_t elapsed = platform::Millisecs() - stopwatchStart;
        stopwatchStart = 0;
        return static_cast<int>(elapsed);
    }
    stopwatchStart = platform::Millisecs();
    return 0;
}

int FramesPerSecond() {
    if (fpsNextSecond == 0) {
        fpsNextSecond = platform::Millisecs() + 1000;
        return fpsCurrent;
    }
    ++fpsFrames;
    const std::int64_t now = platform::Millisecs();
    if (now >= fpsNextSecond) {
        fpsCurrent = fpsFrames;
        fpsFrames = 0;
        fpsNextSecond = now + 1000;
    }
    return fpsCurrent;
}

void Wait(int milliseconds) {
    const std::int64_t until = platform::Millisecs() + milliseconds;
    if (milliseconds <= 0) return;
    while (platform::Millisecs() < until) {
    }
}

void InitUtilitiesUnit() {
    stopwatchStart = 0;
    fpsCurrent = 0;
    fpsFrames = 0;
    fpsNextSecond = 0;
}

}  // namespace kestrum::framework::utilities
