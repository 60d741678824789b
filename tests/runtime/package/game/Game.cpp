// A small game on the path runtime: loads the path files of its working folder through the init
// function that resindex wrote, finds one by its name and walks it.
#include <cmath>
#include <cstdio>

#include "PathResource.h"
#include "output.txt"

int main() {
  init();
  const PathResource* line = FindPath("line.xml");
  if (line == nullptr) return 1;
  // Points (0, 0) to (90, 120) in a straight line: the curve runs from (30, 40) to (60, 80).
  const PathPoint middle = line->PointAtDistance(25.0f);
  const PathPoint heading = line->TangentAtDistance(25.0f);
  std::printf("length %g, middle (%g, %g), heading (%g, %g)\n", line->Length(), middle.x, middle.y, heading.x,
              heading.y);
  const bool walked = std::abs(line->Length() - 50.0f) < 1e-3f && std::abs(middle.x - 45.0f) < 1e-3f &&
                      std::abs(middle.y - 60.0f) < 1e-3f && std::abs(heading.x - 0.6f) < 1e-6f &&
                      std::abs(heading.y - 0.8f) < 1e-6f;
  return walked ? 0 : 1;
}
