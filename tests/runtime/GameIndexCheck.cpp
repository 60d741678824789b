// A game built on a folder of path files: the init function that resindex wrote for the folder
// is included as it stands, loads every file, and each path is found by its file name. Run in
// that folder.
#include <filesystem>
#include <iostream>
#include <string>

#include "PathResource.h"
#include "output.txt"

#include "GamePathFiles.h"

int main() {
  init();
  int failures = 0;
  auto check = [&failures](const std::string& name) {
    const PathResource* path = FindPath(name);
    if (path == nullptr || path->ControlPoints().size() < 4 || !(path->Length() > 0.0)) {
      std::cout << "no path found under " << name << std::endl;
      ++failures;
    }
  };
  // Every file the editor saved, by the name it was given, and every path file in the folder.
  for (const gamepaths::GamePath& path : gamepaths::Paths()) check(std::string(path.name) + ".xml");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) {
      check(name);
      ++files;
    }
  }
  if (files != static_cast<int>(gamepaths::Paths().size())) {
    std::cout << files << " path files in the folder, " << gamepaths::Paths().size() << " saved" << std::endl;
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}
