// Global utilities: blend modes from names and numbers, list membership,
// bits, a percentage, and a stopwatch, a frames-per-second counter and a busy
// wait on the platform's Millisecs() clock.
//
// Depends on platform/clock.h and platform/text.h.
#pragma once

#include <string>
#include <vector>

namespace kestrum::framework::utilities {

// 1 opaque, 2 alpha, 3 additive and 4 multiply come back unchanged; any other number gives 2.
int BlendModeFromInt(int mode);
// "opaque", "alpha", "additive", "multiply" in any case (not trimmed); any other text gives 2.
int BlendModeFromName(const std::string& name);

// Whether some element equals the value (texts compared case-sensitively).
bool Contains(const std::string& text, const std::vector<std::string>& list);
bool Contains(int value, const std::vector<int>& list);

// "True" or "False".
std::string BoolToString(bool value);

// Bit number bit (0 lowest, 0 to 31) of the value as 0 or 1; 0 for another bit number.
int GetBit(int bit, int value);
// The value with bit number bit set; unchanged for a bit number outside 0 to 31.
int SetBit(int bit, int value);

// percent / 100 × value, truncated toward zero.
int Percent(float percent, float value);

// The first call starts the one global stopwatch and returns 0; the next
// returns the milliseconds since then and stops it.
int Stopwatch();
// Counts its own calls per second of the clock: one call per frame gives the
// frame rate of the last completed second (0 during the first).
int FramesPerSecond();
// Returns when the clock has advanced by the milliseconds, busy-waiting.
void Wait(int milliseconds);

// The unit's initialiser: stops the stopwatch and resets the frame counter.
void InitUtilitiesUnit();

}  // namespace kestrum::framework::utilities

namespace kestrum::framework {
using namespace utilities;
}
