// The hit and rectangle tests shared by the objects that stand at one point
// and are found through their bounding area (junction, label, tag,
// comment). Plain functions over a Rect; they own nothing.
#pragma once

#include "geometry/geometry.h"

namespace vesk {

// Hit results of these objects rank above a plain segment hit: 65536 plus
// the hit score (1 near the edge of the area up to 65 at its centre), or 0
// when the point is outside the area or on its edge.
constexpr int kAreaHitBase = 0x10000;

inline int hitTestArea(const Point& p, const Rect& area) {
  const int score = hitScore(p, area);
  return score == 0 ? 0 : kAreaHitBase + score;
}

// A rectangle selection takes the whole object (3) when it meets the area.
inline int selectionOfArea(const Rect& r, const Rect& area) { return r.intersects(area) ? 3 : 0; }

}  // namespace vesk
