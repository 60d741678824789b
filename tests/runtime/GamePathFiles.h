// The path files of a small game, saved with the editor at build time: names and the window
// positions of their control points. The name with quotes needs escaping in a string literal.
#pragma once

#include <vector>

#include "PathPoint.h"

namespace gamepaths {

struct GamePath {
  const char* name;  // as typed into the editor; Save adds ".xml"
  std::vector<PathPoint> windowPoints;
};

inline const std::vector<GamePath>& Paths() {
  static const std::vector<GamePath> paths = {
      {"wave",
       {{262, 384}, {362, 534}, {462, 384}, {562, 234}, {662, 384}, {762, 534}, {862, 384}, {962, 234}}},
      {"loop", {{400, 250}, {800, 250}, {800, 520}, {400, 520}, {400, 250}, {800, 250}, {800, 520}}},
      {"Zigzag", {{262, 184}, {612, 584}, {962, 184}, {962, 584}}},
      {"say \"hi\"", {{300, 300}, {500, 450}, {700, 300}, {900, 450}, {950, 500}}},
  };
  return paths;
}

}  // namespace gamepaths
