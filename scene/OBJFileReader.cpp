// Opens a mesh file, reads it whole, and hands the text to the statement and processing passes.
#include "OBJFileReader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include "Mesh.h"
#include "OBJParse.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole content of a file, in a buffer left uninitialised so that a big file is written
// into memory once; false when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::unique_ptr<char[]>& content, std::size_t& size) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  // The size is only a hint (a folder, for one, has none); the buffer grows when it was short.
  std::error_code error;
  std::uintmax_t hint = std::filesystem::file_size(path, error);
  std::size_t capacity = error ? std::size_t(1) << 16 : static_cast<std::size_t>(hint) + 1;
  size = 0;
  content.reset(new (std::nothrow) char[capacity]);
  if (!content) return false;
  for (;;) {
    size += std::fread(content.get() + size, 1, capacity - size, file.get());
    if (size < capacity) break;
    std::unique_ptr<char[]> bigger(new (std::nothrow) char[capacity * 2]);
    if (!bigger) return false;
    std::memcpy(bigger.get(), content.get(), size);
    content = std::move(bigger);
    capacity *= 2;
  }
  return !std::ferror(file.get());
}

}  // namespace

bool OBJFileReader::Load(std::string name, Mesh* mesh) {
  if (mesh == nullptr) return false;
  std::unique_ptr<char[]> text;
  std::size_t size = 0;
  if (!ReadWholeFile("../resources/meshes/" + name + ".obj", text, size)) return false;
  return LoadFromText(std::string_view(text.get(), size), mesh);
}

bool OBJFileReader::LoadFromText(std::string_view text, Mesh* mesh) {
  if (mesh == nullptr) return false;
  const std::size_t firstVertex = mesh->mVertices.size();
  const std::size_t firstPositionList = mesh->mPositionNormals.size();
  objreader::ReadLists lists;
  objreader::ReadStatements(text, lists, *mesh);
  objreader::FinishMesh(lists, firstVertex, firstPositionList, *mesh);
  return true;
}
