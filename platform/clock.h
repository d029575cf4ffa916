// Time and random numbers.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds from a monotonic clock, counted from the first call; 64-bit so it never overflows.
std::int64_t Millisecs();

// Tests replace the clock with a function of their own; an empty function restores the real clock.
void SetMillisecsSource(std::function<std::int64_t()> source);

// The uniform generator is never seeded: every run draws the same sequence.
double Rnd();                          // [0, 1)
double Rnd(double max);                // [0, max)
double Rnd(double min, double max);    // [min, max)
// Puts the generator back to its state at start-up (for tests).
void ResetRnd();

}  // namespace platform
