#include "geometry/geometry.h"

#include <algorithm>
#include <cstdint>

namespace vesk {

int hitScore(const Point& p, const Rect& r) {
  // Distances in 64 bits: the edges may lie anywhere in the 32-bit range.
  const std::int64_t dl = std::int64_t{p.x} - r.left;
  const std::int64_t dr = std::int64_t{r.right} - p.x;
  const std::int64_t dt = std::int64_t{p.y} - r.top;
  const std::int64_t db = std::int64_t{r.bottom} - p.y;
  if (dl <= 0 || dr <= 0 || dt <= 0 || db <= 0) return 0;
  const std::int64_t sx = (16 * std::min(dl, dr)) / (dl + dr);
  const std::int64_t sy = (16 * std::min(dt, db)) / (dt + db);
  return static_cast<int>(sx * sy + 1);
}

int outCode(const Point& p, const Rect& r) {
  int code = 0;
  if (p.x < r.left) {
    code |= 1;
  } else if (p.x > r.right) {
    code |= 4;
  }
  if (p.y < r.top) {
    code |= 2;
  } else if (p.y > r.bottom) {
    code |= 8;
  }
  return code;
}

}  // namespace vesk
