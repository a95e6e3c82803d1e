// Point and Rect: the integer geometry of a schematic sheet.
//
// Sheet coordinates are 32-bit signed with y growing downwards; rectangle
// edges are inclusive and rectangles are not kept normalised. Files come
// from anywhere, so every coordinate sum, difference and product here wraps
// around in 32 bits instead of overflowing (the wrap helpers below are the
// one place that arithmetic is done).
#pragma once

#include <cstdint>
#include <limits>
#include <utility>

namespace vesk {

// Two's-complement arithmetic in 32 bits: defined for every input.
constexpr int wrapAdd(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr int wrapSub(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr int wrapMul(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr int wrapNeg(int a) { return wrapSub(0, a); }
// (a + b) / 2 truncating toward zero, computed without overflow.
constexpr int midpoint(int a, int b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<int>(sum / 2);
}

struct Point {
  int x = 0;
  int y = 0;

  constexpr Point() = default;
  constexpr Point(int px, int py) : x(px), y(py) {}

  constexpr void set(int px, int py) { x = px; y = py; }
  constexpr void setX(int px) { x = px; }
  constexpr void setY(int py) { y = py; }

  constexpr Point& operator+=(const Point& o) {
    x = wrapAdd(x, o.x);
    y = wrapAdd(y, o.y);
    return *this;
  }
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr Rect() = default;
  constexpr Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

  // Origin and extent: (x, y) to (x + w, y + h).
  static constexpr Rect fromOriginExtent(int x, int y, int w, int h) {
    return Rect(x, y, wrapAdd(x, w), wrapAdd(y, h));
  }
  // Two corners in the given order, not normalised.
  static constexpr Rect fromCorners(const Point& p, const Point& q) {
    return Rect(p.x, p.y, q.x, q.y);
  }
  // The empty accumulator: its first union with a real rectangle yields
  // that rectangle.
  static constexpr Rect emptyAccumulator() {
    return Rect(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
  }

  constexpr void normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  constexpr Point center() const { return Point(midpoint(left, right), midpoint(top, bottom)); }
  constexpr bool intersects(const Rect& o) const {
    return !(o.left > right || o.right < left || o.top > bottom || o.bottom < top);
  }
  constexpr void unite(const Rect& o) {
    if (o.left < left) left = o.left;
    if (o.top < top) top = o.top;
    if (o.right > right) right = o.right;
    if (o.bottom > bottom) bottom = o.bottom;
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// How close p lies to the centre of r: 0 when p is outside or on an edge,
// otherwise 1 (near an edge) to 65 (the exact centre).
int hitScore(const Point& p, const Rect& r);

// Cohen-Sutherland style out-code of p against r: 1 left of it, 4 right of
// it, 2 above, 8 below; 0 inside or on an edge.
int outCode(const Point& p, const Rect& r);

}  // namespace vesk
