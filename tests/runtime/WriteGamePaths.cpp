// Saves the game's path files with the editor's own Save into the folder given, emptied first,
// as a user of the editor would: points placed in the window, a name, Save.
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "CubicBSpline.h"
#include "GamePathFiles.h"
#include "PathFiles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_game_paths <folder>\n";
    return 2;
  }
  // Files of an earlier build go: the folder holds what this run saves, and resindex's output.
  std::error_code error;
  std::filesystem::create_directories(argv[1], error);
  std::vector<std::filesystem::path> earlier;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1], error))
    earlier.push_back(entry.path());
  for (const auto& entry : earlier) std::filesystem::remove_all(entry, error);
  if (!error) std::filesystem::current_path(argv[1], error);
  if (error) {
    std::cerr << "write_game_paths: no folder " << argv[1] << ": " << error.message() << "\n";
    return 1;
  }
  for (const gamepaths::GamePath& path : gamepaths::Paths()) {
    CubicBSpline spline;
    for (const PathPoint& p : path.windowPoints) spline.PushBack(vec2(p.x, p.y));
    PathFiles files;
    files.mFilename = path.name;
    files.Save(spline);
    if (!std::filesystem::is_regular_file(std::string(path.name) + ".xml")) {
      std::cerr << "write_game_paths: " << path.name << ".xml was not saved\n";
      return 1;
    }
  }
  return 0;
}
