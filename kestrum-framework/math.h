// Plane-geometry tests: overlap of rectangles, circles, a circle and a
// rectangle, a circle and a segment; crossing of two segments with the
// crossing point kept for the caller; a point in a rotated rectangle;
// turning a point about a centre; rounding; distances.
//
// Coordinates are floats with y growing downward; angles are radians from
// the x axis toward the y axis (positive turns clockwise on the screen).
//
// Depends on platform/types.h.
#pragma once

#include <cstdint>
#include <limits>

#include "platform/types.h"

namespace kestrum::framework::math {

// Declared for completeness of the unit; nothing creates one.
class Collision {};

// Strict on every side: rectangles that only share an edge do not overlap.
// With centred, each (x, y) is the rectangle's centre, else its top-left.
bool RectsOverlap(float x1, float y1, int w1, int h1, float x2, float y2, int w2, int h2, bool centred);

// Whether segment A (x1, y1)-(x2, y2) crosses segment B (x3, y3)-(x4, y4),
// end points included. On true the crossing point is stored for
// IntersectionX/Y; identical segments (same direction) cross and store their
// start point. Parallel segments do not cross.
bool LinesIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
// The last stored crossing point; (0, 0) before the first.
float IntersectionX();
float IntersectionY();

// Touching circles do not overlap.
bool CirclesOverlap(float x1, float y1, float r1, float x2, float y2, float r2);
// Whether the circle overlaps the rectangle (closest-point test; a corner
// lying on the circle counts).
bool CircleRectOverlap(float cx, float cy, float radius, float x, float y, int w, int h, bool centred);
// Whether the centre lies within radius of the segment's line and within the
// segment lengthened by radius at both ends (square ends, edges included).
// A segment of zero length gives false.
bool CircleSegmentOverlap(float cx, float cy, float radius, float x1, float y1, float x2, float y2);

// (x, y) is the rectangle's handle point, placed at (handleX, handleY) as
// fractions of its size; edges count as inside. Callers testing against an
// object rotated by r pass the angle -r.
bool PointInRotatedRect(float x, float y, float width, float height, float px, float py, float angle,
                        float handleX, float handleY);

// The point turned about the centre by the angle.
platform::Vec2f RotatePoint(platform::Vec2f point, platform::Vec2f centre, float angle);

// The nearest integer, halves away from zero (clamped to the Int range).
int Round(float value);

// Truncation toward zero, clamped to the Int range; NaN gives 0. Numbers read
// from files and positions far outside the world must not overflow the
// conversion.
inline int TruncToInt(double value) {
    if (!(value == value)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (value <= lo) return std::numeric_limits<int>::min();
    if (value >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

// a + b, clamped to the Int range (pass -b as a 64-bit number to subtract).
inline int SaturatingAdd(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    if (sum > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(sum);
}

float Distance(platform::Vec2f a, platform::Vec2f b);
float Distance(float x1, float y1, float x2, float y2);

// The unit's initialiser: the stored crossing point becomes (0, 0).
void InitMathUnit();

}  // namespace kestrum::framework::math

namespace kestrum::framework {
using namespace math;
}
