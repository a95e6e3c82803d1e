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
  // Left is tested before right and top before bottom: a rectangle that is
  // not normalised gives at most one code per axis.
  const int xCode = p.x < r.left ? 1 : (p.x > r.right ? 4 : 0);
  const int yCode = p.y < r.top ? 2 : (p.y > r.bottom ? 8 : 0);
  return xCode | yCode;
}

}  // namespace vesk
