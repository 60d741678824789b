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
  const PathPose middle = line->PoseAtDistance(25.0);
  const double joined = line->NearestDistance(PathPoint{53.0f, 54.0f});
  std::printf("length %g, middle (%g, %g), heading (%g, %g), joined at %g\n", line->Length(),
              middle.position.x, middle.position.y, middle.direction.x, middle.direction.y, joined);
  const bool walked = std::abs(line->Length() - 50.0) < 1e-3 && std::abs(middle.position.x - 45.0f) < 1e-3f &&
                      std::abs(middle.position.y - 60.0f) < 1e-3f &&
                      std::abs(middle.direction.x - 0.6f) < 1e-6f &&
                      std::abs(middle.direction.y - 0.8f) < 1e-6f && std::abs(joined - 25.0) < 1e-3;
  return walked ? 0 : 1;
}
