// A point of a path in pixels, x to the right and y up.
#pragma once

#include <cmath>

struct PathPoint {
  float x;
  float y;
};

inline bool operator==(const PathPoint& a, const PathPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const PathPoint& a, const PathPoint& b) { return !(a == b); }

// A place on a path and the unit direction of travel there.
struct PathPose {
  PathPoint position;
  PathPoint direction;
};

// Whether both coordinates are finite numbers (neither infinite nor NaN).
inline bool IsFinite(const PathPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
