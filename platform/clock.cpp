// Time and random numbers: a monotonic millisecond clock that tests can
// replace, and one never-seeded generator so every run draws the same sequence.
#include "platform/clock.h"

#include <chrono>
#include <cmath>
#include <random>
#include <utility>

namespace platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Set during static initialisation, so the clock counts from about the
// start of the process and never goes below zero.
const SteadyClock::time_point clockStart = SteadyClock::now();

std::function<std::int64_t()>& Source() {
    static std::function<std::int64_t()> source;
    return source;
}

std::mt19937& Generator() {
    static std::mt19937 generator;  // default seed on purpose
    return generator;
}

}  // namespace

std::int64_t Millisecs() {
    if (const auto& source = Source()) return source();
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - clockStart).count();
}

void SetMillisecsSource(std::function<std::int64_t()> source) { Source() = std::move(source); }

double Rnd() {
    // 53 random bits scaled into [0, 1): exactly uniform and never 1.
    const std::uint64_t high = Generator()() >> 5;  // 27 bits
    const std::uint64_t low = Generator()() >> 6;   // 26 bits
    return static_cast<double>((high << 26) | low) * (1.0 / 9007199254740992.0);
}

double Rnd(double max) { return Rnd(0.0, max); }

double Rnd(double min, double max) {
    const double value = min + Rnd() * (max - min);
    // Rounding can land on max itself; the range is half-open.
    if (max > min && value >= max) return std::nextafter(max, min);
    return value;
}

void ResetRnd() { Generator() = std::mt19937(); }

}  // namespace platform
