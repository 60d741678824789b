// A point of a path in pixels, x to the right and y up.
#pragma once

struct PathPoint {
  float x;
  float y;
};

inline bool operator==(const PathPoint& a, const PathPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const PathPoint& a, const PathPoint& b) { return !(a == b); }
