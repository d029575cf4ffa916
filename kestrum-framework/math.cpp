#include "kestrum-framework/math.h"

#include <climits>
#include <cmath>

namespace kestrum::framework::math {

namespace {
float intersectionX = 0;
float intersectionY = 0;
}  // namespace

bool RectsOverlap(float x1, float y1, int w1, int h1, float x2, float y2, int w2, int h2, bool centred) {
    if (centred) {
        x1 -= w1 * 0.5f;
        y1 -= h1 * 0.5f;
        x2 -= w2 * 0.5f;
        y2 -= h2 * 0.5f;
    }
    return x2 < x1 + w1 && y2 < y1 + h1 && x1 < x2 + w2 && y1 < y2 + h2;
}

bool LinesIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    if (x1 == x3 && y1 == y3 && x2 == x4 && y2 == y4) {
        // The same segment: every point of it is a crossing; keep its start so
        // that a caller reading the point right after a true result gets one.
        intersectionX = x1;
        intersectionY = y1;
        return true;
    }
    const float dxA = x2 - x1, dyA = y2 - y1;
    const float dxB = x4 - x3, dyB = y4 - y3;
    const float d = dxB * dyA - dxA * dyB;
    if (d == 0) return false;
    const float uB = ((y3 - y1) * dxA + (x1 - x3) * dyA) / d;
    if (!(uB >= 0 && uB <= 1)) return false;
    const float uA = ((y1 - y3) * dxB + (x3 - x1) * dyB) / (dxA * dyB - dxB * dyA);
    if (!(uA >= 0 && uA <= 1)) return false;
    intersectionX = x1 + dxA * uA;
    intersectionY = y1 + dyA * uA;
    return true;
}

float IntersectionX() { return intersectionX; }
float IntersectionY() { return intersectionY; }

bool CirclesOverlap(float x1, float y1, float r1, float x2, float y2, float r2) {
    const float dx = x2 - x1, dy = y2 - y1;
    return (r1 + r2) * (r1 + r2) > dx * dx + dy * dy;
}

bool CircleRectOverlap(float cx, float cy, float radius, float x, float y, int w, int h, bool centred) {
    float left = x, top = y;
    if (centred) {
        left = x - w * 0.5f;
        top = y - h * 0.5f;
    }
    const float right = left + w, bottom = top + h;
    if (left < cx && cx < right && top < cy && cy < bottom) return true;
    // The point of the rectangle closest to the centre decides; a circle that
    // only touches a side does not overlap, while one whose rim passes exactly
    // through a corner does.
    const float nearX = std::fmax(left, std::fmin(cx, right));
    const float nearY = std::fmax(top, std::fmin(cy, bottom));
    const float dx = cx - nearX, dy = cy - nearY;
    const float distance2 = dx * dx + dy * dy;
    const float radius2 = radius * radius;
    if (distance2 < radius2) return true;
    const float cornersX[2] = {left, right};
    const float cornersY[2] = {top, bottom};
    for (float cornerX : cornersX) {
        for (float cornerY : cornersY) {
            const float ex = cx - cornerX, ey = cy - cornerY;
            if (radius2 >= ex * ex + ey * ey) return true;
        }
    }
    return false;
}

bool CircleSegmentOverlap(float cx, float cy, float radius, float x1, float y1, float x2, float y2) {
    const float sx = x2 - x1, sy = y2 - y1;
    const float length = std::sqrt(sx * sx + sy * sy);
    if (!(length > 0)) return false;
    const float ux = sx / length, uy = sy / length;
    // The segment lengthened by the radius at both ends.
    const float p1x = x1 - ux * radius, p1y = y1 - uy * radius;
    const float p2x = x2 + ux * radius, p2y = y2 + uy * radius;
    // Only the signs of the projections matter, so the vectors towards the
    // centre need no normalising (and a centre on an end point is defined).
    const float a = ux * (cx - p1x) + uy * (cy - p1y);
    const float b = ux * (cx - p2x) + uy * (cy - p2y);
    const bool inSpan = (a >= 0 && b <= 0) || (a <= 0 && b >= 0);
    if (!inSpan) return false;
    const float distance = std::fabs(sx * (y1 - cy) - sy * (x1 - cx)) / length;
    return distance <= radius;
}

bool PointInRotatedRect(float x, float y, float width, float height, float px, float py, float angle,
                        float handleX, float handleY) {
    const float dx = px - x, dy = py - y;
    const float c = std::cos(angle), s = std::sin(angle);
    const float lx = dx * c - dy * s + handleX * width;
    const float ly = dx * s + dy * c + handleY * height;
    return lx >= 0 && lx <= width && ly >= 0 && ly <= height;
}

platform::Vec2f RotatePoint(platform::Vec2f point, platform::Vec2f centre, float angle) {
    const float dx = point.x - centre.x, dy = point.y - centre.y;
    const float d = std::sqrt(dx * dx + dy * dy);
    const float t = std::atan2(dy, dx) + angle;
    return {centre.x + d * std::cos(t), centre.y + d * std::sin(t)};
}

int Round(float value) {
    // In double, so that 0.49999997 + 0.5 does not round up to 1.
    const double v = value;
    const double sign = v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
    const double result = std::trunc(v + sign * 0.5);
    if (std::isnan(result)) return 0;
    if (result <= INT_MIN) return INT_MIN;
    if (result >= INT_MAX) return INT_MAX;
    return static_cast<int>(result);
}

float Distance(platform::Vec2f a, platform::Vec2f b) { return Distance(a.x, a.y, b.x, b.y); }

float Distance(float x1, float y1, float x2, float y2) {
    const float dx = x1 - x2, dy = y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

void InitMathUnit() {
    intersectionX = 0;
    intersectionY = 0;
}

}  // namespace kestrum::framework::math
