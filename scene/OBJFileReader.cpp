// Opens a mesh file, reads its text whole, then runs the statement pass and the processing pass.
#include "OBJFileReader.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "Mesh.h"
#include "OBJParse.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's bytes, or false when it cannot be read (a folder, for one). A statement may run
// over several lines, so the statement pass wants the whole text; it costs the file's size.
bool ReadWholeFile(const std::string& path, std::string& text) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  std::error_code error;
  const std::uintmax_t expected = std::filesystem::file_size(path, error);
  const std::size_t size = error ? 0 : static_cast<std::size_t>(expected);
  text.reserve(size);
  objreader::PreferLargePages(text.data(), size);
  text.resize(size);
  text.resize(std::fread(text.data(), 1, text.size(), file.get()));
  // Bytes added since the size was taken are read too.
  char more[4096];
  for (std::size_t got; (got = std::fread(more, 1, sizeof more, file.get())) > 0;) text.append(more, got);
  return std::ferror(file.get()) == 0;
}

}  // namespace

namespace objreader {

void PreferLargePages(void* data, std::size_t bytes) {
  constexpr std::uintptr_t kLarge = std::uintptr_t(1) << 21;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace objreader

bool OBJFileReader::Load(std::string name, Mesh* mesh) {
  if (mesh == nullptr) return false;
  std::string text;
  if (!ReadWholeFile("../resources/meshes/" + name + ".obj", text)) return false;
  const std::size_t firstPositionList = mesh->mPositionNormals.size();
  objreader::ReadLists lists;
  objreader::ReadStatements(text, lists, *mesh);
  std::string().swap(text);  // the processing pass needs the lists, not the text
  objreader::FinishMesh(lists, firstPositionList, *mesh);
  return true;
}

bool OBJFileReader::LoadFromText(std::string_view text, Mesh* mesh) {
  if (mesh == nullptr) return false;
  const std::size_t firstPositionList = mesh->mPositionNormals.size();
  objreader::ReadLists lists;
  objreader::ReadStatements(text, lists, *mesh);
  objreader::FinishMesh(lists, firstPositionList, *mesh);
  return true;
}
