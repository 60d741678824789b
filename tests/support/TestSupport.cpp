// Temporary working folders and file helpers for the unit tests.
#include "TestSupport.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

TempWorkDir::TempWorkDir() : mPrevious(fs::current_path()) {
  std::random_device seed;
  std::mt19937_64 generator(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("veyrun-test-" + std::to_string(generator()));
    if (fs::create_directory(candidate)) {
      mRoot = candidate;
      break;
    }
  }
  if (mRoot.empty()) throw std::runtime_error("no temporary folder could be made");
  mWork = mRoot / "work";
  fs::create_directories(mWork);
  fs::create_directories(mRoot / "resources" / "shaders");
  fs::create_directories(mRoot / "resources" / "meshes");
  fs::create_directories(mRoot / "resources" / "textures");
  fs::current_path(mWork);
}

TempWorkDir::~TempWorkDir() {
  std::error_code ignored;
  fs::current_path(mPrevious, ignored);
  // A test may leave read-only files or folders behind; make them writable before removing.
  // Links are left alone: changing their mode would change the files they point to.
  for (auto it = fs::recursive_directory_iterator(mRoot, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (!it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(mRoot, ignored);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace testsupport
