#include "kestrum-framework/math.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace fw = kestrum::framework;

TEST(Geometry, RectsOverlap) {
    struct Case {
        float x2, y2;
        bool centred, overlap;
    };
    const Case cases[] = {
        {10, 0, false, false},    // shared edge
        {9.999f, 0, false, true},
        {0, 10, false, false},
        {10, 10, false, false},   // shared corner
        {9, 0, true, true},
        {10, 0, true, false},
        {-9.5f, -9.5f, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::RectsOverlap(0, 0, 10, 10, c.x2, c.y2, 10, 10, c.centred), c.overlap)
            << c.x2 << "," << c.y2 << " centred " << c.centred;
    }
}

TEST(Geometry, LinesIntersect) {
    fw::InitMathUnit();
    EXPECT_EQ(fw::IntersectionX(), 0);
    EXPECT_EQ(fw::IntersectionY(), 0);
    struct Case {
        float x3, y3, x4, y4;
        bool crosses;
        float ix, iy;
    };
    const Case cases[] = {
        {5, -5, 5, 5, true, 5, 0},
        {10, 0, 10, 10, true, 10, 0},   // meeting at an end point
        {2, 0, 8, 0, false, 0, 0},      // collinear
        {10, 0, 0, 0, false, 0, 0},     // the same segment reversed: parallel
        {0, 5, 10, 5, false, 0, 0},     // parallel
        {11, -5, 11, 5, false, 0, 0},   // beyond the end of A
        {5, 1, 5, 5, false, 0, 0},      // B ends before reaching A
        {3, 3, 3, 3, false, 0, 0},      // a point
        {0, 0, 10, 0, true, 0, 0},      // identical: crosses and stores its start
    };
    for (const auto& c : cases) {
        fw::InitMathUnit();
        fw::LinesIntersect(-1, -1, -1, 1, -2, 0, 0, 0);  // store (-1, 0) first
        const bool crosses = fw::LinesIntersect(0, 0, 10, 0, c.x3, c.y3, c.x4, c.y4);
        EXPECT_EQ(crosses, c.crosses) << c.x3 << "," << c.y3 << " " << c.x4 << "," << c.y4;
        const float ex = c.crosses ? c.ix : -1, ey = c.crosses ? c.iy : 0;
        EXPECT_NEAR(fw::IntersectionX(), ex, 1e-5) << c.x3 << "," << c.y3;
        EXPECT_NEAR(fw::IntersectionY(), ey, 1e-5) << c.x3 << "," << c.y3;
    }
}

TEST(Geometry, CirclesAndCircleRect) {
    EXPECT_FALSE(fw::CirclesOverlap(0, 0, 5, 10, 0, 5)) << "touching";
    EXPECT_TRUE(fw::CirclesOverlap(0, 0, 5, 9.9f, 0, 5));

    struct Case {
        float cx, cy, r;
        bool overlap;
    };
    // Rectangle (0, 0) 10 × 2, not centred.
    const Case cases[] = {
        {5, -1, 5, true},       // the rim reaches into the rectangle from above
        {5, 1, 1, true},        // centre inside
        {5, 1, 0, true},        // centre inside, no radius
        {5, -3, 3, false},      // touches the top side only
        {5, -3, 3.1f, true},
        {-3, 1, 2.9f, false},
        {-3, 1, 3.1f, true},    // reaches the left side
        {13, 6, 5, true},       // corner (10, 2) exactly on the rim
        {13, 6, 4.9f, false},
        {5, 1, 100, true},      // the circle covers the rectangle
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::CircleRectOverlap(c.cx, c.cy, c.r, 0, 0, 10, 2, false), c.overlap)
            << c.cx << "," << c.cy << " r " << c.r;
    }
    EXPECT_TRUE(fw::CircleRectOverlap(0, -1.5f, 0.6f, 0, 0, 10, 2, true)) << "centred rectangle";
    EXPECT_FALSE(fw::CircleRectOverlap(0, -1.5f, 0.4f, 0, 0, 10, 2, true));
}

TEST(Geometry, CircleSegmentOverlap) {
    struct Case {
        float cx, cy, r;
        bool overlap;
    };
    // Segment (0, 0)-(10, 0).
    const Case cases[] = {
        {5, 3, 3, true},        // distance equals the radius
        {5, 3, 2.9f, false},
        {12.9f, 0, 3, true},
        {13.1f, 0, 3, false},
        {12, 2.9f, 3, true},    // square ends
        {-3, 0, 3, true},       // centre exactly on the lengthened end
        {5, -2, 3, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::CircleSegmentOverlap(c.cx, c.cy, c.r, 0, 0, 10, 0), c.overlap) << c.cx << "," << c.cy;
    }
    EXPECT_TRUE(fw::CircleSegmentOverlap(3, 3, 1, 0, 0, 6, 6)) << "diagonal";
    EXPECT_FALSE(fw::CircleSegmentOverlap(5, 5, 3, 5, 5, 5, 5)) << "a segment of zero length";
    EXPECT_FALSE(fw::CircleSegmentOverlap(0, 0, 3, 0, 0, 0, 0));
}

TEST(Geometry, PointInRotatedRectAndRotatePoint) {
    EXPECT_TRUE(fw::PointInRotatedRect(0, 0, 10, 10, 10, 10, 0, 0, 0)) << "edges count";
    EXPECT_TRUE(fw::PointInRotatedRect(0, 0, 10, 10, 4, 4, 0, 0.5f, 0.5f));
    EXPECT_FALSE(fw::PointInRotatedRect(0, 0, 10, 10, 6, 0, 0, 0.5f, 0.5f));
    // A 20 × 2 bar turned a quarter (clockwise) about its centre stands upright.
    const float quarter = std::numbers::pi_v<float> / 2;
    EXPECT_TRUE(fw::PointInRotatedRect(0, 0, 20, 2, 0, 8, -quarter, 0.5f, 0.5f));
    EXPECT_FALSE(fw::PointInRotatedRect(0, 0, 20, 2, 8, 0, -quarter, 0.5f, 0.5f));

    const platform::Vec2f turned = fw::RotatePoint({1, 0}, {0, 0}, quarter);
    EXPECT_NEAR(turned.x, 0, 1e-6);
    EXPECT_NEAR(turned.y, 1, 1e-6);
    const platform::Vec2f about = fw::RotatePoint({3, 2}, {2, 2}, std::numbers::pi_v<float>);
    EXPECT_NEAR(about.x, 1, 1e-6);
    EXPECT_NEAR(about.y, 2, 1e-6);
}

TEST(Geometry, RoundAndDistance) {
    struct Case {
        float value;
        int rounded;
    };
    const Case cases[] = {{2.5f, 3}, {-2.5f, -3}, {0.49f, 0}, {-0.5f, -1}, {0, 0}, {0.49999997f, 0}, {1e20f, INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(fw::Round(c.value), c.rounded) << c.value;
    EXPECT_FLOAT_EQ(fw::Distance(0, 0, 3, 4), 5);
    EXPECT_FLOAT_EQ(fw::Distance(platform::Vec2f{1, 1}, platform::Vec2f{4, 5}), 5);
}
