// resindex: writes output.txt, an init function that calls GetResource for every XML file here.
#include <fstream>
#include <string>
#include <vector>

#include "ResourceIndex.h"

int main() {
  // A tool run from build scripts: it reports nothing and never fails the build step itself.
  try {
    std::vector<std::string> names;
    resindex::ListFiles("", names);
    // Truncates (or creates) the file even when nothing matched. A read-only file, or a
    // read-only folder without one, stays as it is, also for root, whom the system lets write.
    if (!resindex::BitsAllowWriting("output.txt")) return 0;
    std::ofstream out("output.txt");
    resindex::WriteIndex(out, names);
  } catch (...) {
  }
  return 0;
}
