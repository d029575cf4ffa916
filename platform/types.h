// Value types shared by every layer: 2D vectors, rectangles, affine matrices
// and colours. Plain aggregates with the few operators the layers above use.
#pragma once

#include <cmath>

namespace platform {

template <typename T>
struct Vec2 {
    T x{};
    T y{};

    constexpr Vec2() = default;
    constexpr Vec2(T x, T y) : x(x), y(y) {}
    template <typename U>
    constexpr explicit Vec2(const Vec2<U>& other) : x(static_cast<T>(other.x)), y(static_cast<T>(other.y)) {}

    constexpr Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2 operator*(const Vec2& o) const { return {x * o.x, y * o.y}; }
    constexpr Vec2 operator/(const Vec2& o) const { return {x / o.x, y / o.y}; }
    constexpr Vec2 operator*(T s) const { return {x * s, y * s}; }
    constexpr Vec2 operator/(T s) const { return {x / s, y / s}; }
    constexpr Vec2 operator-() const { return {-x, -y}; }
    Vec2& operator+=(const Vec2& o) { x += o.x; y += o.y; return *this; }
    Vec2& operator-=(const Vec2& o) { x -= o.x; y -= o.y; return *this; }
    constexpr bool operator==(const Vec2&) const = default;

    double Length() const { return std::sqrt(double(x) * x + double(y) * y); }
};

using Vec2i = Vec2<int>;
using Vec2f = Vec2<float>;

// An axis-aligned rectangle given by its top-left (min) and bottom-right (max) corners.
template <typename T>
struct Rect {
    Vec2<T> min{};
    Vec2<T> max{};

    constexpr Rect() = default;
    constexpr Rect(T x0, T y0, T x1, T y1) : min(x0, y0), max(x1, y1) {}
    constexpr Rect(Vec2<T> min, Vec2<T> max) : min(min), max(max) {}

    constexpr T Width() const { return max.x - min.x; }
    constexpr T Height() const { return max.y - min.y; }
    constexpr Vec2<T> Size() const { return {Width(), Height()}; }
    constexpr bool Empty() const { return max.x <= min.x || max.y <= min.y; }
    constexpr bool AllZero() const { return min == Vec2<T>{} && max == Vec2<T>{}; }
    constexpr bool Contains(Vec2<T> p) const { return p.x >= min.x && p.x < max.x && p.y >= min.y && p.y < max.y; }
    constexpr bool operator==(const Rect&) const = default;
};

using Recti = Rect<int>;
using Rectf = Rect<float>;

// A 2D affine transform: x' = i.x * x + j.x * y + t.x, y' = i.y * x + j.y * y + t.y.
struct AffineMat3f {
    Vec2f i{1, 0};
    Vec2f j{0, 1};
    Vec2f t{0, 0};

    Vec2f Transform(Vec2f p) const { return {i.x * p.x + j.x * p.y + t.x, i.y * p.x + j.y * p.y + t.y}; }
    Vec2f TransformVector(Vec2f v) const { return {i.x * v.x + j.x * v.y, i.y * v.x + j.y * v.y}; }

    AffineMat3f operator*(const AffineMat3f& m) const {
        return {TransformVector(m.i), TransformVector(m.j), Transform(m.t)};
    }
    AffineMat3f Translate(float x, float y) const { return *this * AffineMat3f{{1, 0}, {0, 1}, {x, y}}; }
    AffineMat3f Scale(float x, float y) const { return *this * AffineMat3f{{x, 0}, {0, y}, {0, 0}}; }
    // Positive angles turn counter-clockwise on the y-down screen.
    AffineMat3f Rotate(float radians) const {
        const float c = std::cos(radians), s = std::sin(radians);
        return *this * AffineMat3f{{c, -s}, {s, c}, {0, 0}};
    }
    AffineMat3f Inverse() const {
        const float det = i.x * j.y - j.x * i.y;
        if (det == 0) return {};
        const float inv = 1.0f / det;
        AffineMat3f r{{j.y * inv, -i.y * inv}, {-j.x * inv, i.x * inv}, {0, 0}};
        r.t = -r.TransformVector(t);
        return r;
    }
    bool operator==(const AffineMat3f&) const = default;
};

// Four floats from 0 to 1; not premultiplied (the canvas premultiplies when it draws).
struct Color {
    float r = 0, g = 0, b = 0, a = 0;

    constexpr Color() = default;
    constexpr Color(float r, float g, float b, float a = 1) : r(r), g(g), b(b), a(a) {}

    constexpr Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b, a * o.a}; }
    constexpr bool AllZero() const { return r == 0 && g == 0 && b == 0 && a == 0; }
    constexpr bool operator==(const Color&) const = default;

    static constexpr Color White() { return {1, 1, 1, 1}; }
    static constexpr Color Black() { return {0, 0, 0, 1}; }
    static constexpr Color None() { return {0, 0, 0, 0}; }
};

}  // namespace platform
