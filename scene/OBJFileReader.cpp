// Opens a mesh file and hands its text, piece by piece in whole lines, to the statement pass,
// then runs the processing pass.
#include "OBJFileReader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "Mesh.h"
#include "OBJParse.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads a file in pieces of whole lines through one reused buffer, so that even a big file
// costs no memory of its own size (on this platform every fresh page costs a fault).
class LineChunks {
public:
  explicit LineChunks(std::FILE* file) : mFile(file), mBuffer(kChunk) {}

  // The next piece: whole lines, or the rest of the file without a final line end. Empty at
  // the end of the file; Failed() tells a read error from the end.
  std::string_view Next() {
    // What followed the last line end of the previous piece moves to the front.
    std::memmove(mBuffer.data(), mBuffer.data() + mTaken, mFilled - mTaken);
    mFilled -= mTaken;
    mTaken = 0;
    for (;;) {
      if (!mAtEnd) {
        if (mFilled == mBuffer.size()) mBuffer.resize(mBuffer.size() * 2);  // one long line
        const std::size_t got = std::fread(mBuffer.data() + mFilled, 1, mBuffer.size() - mFilled, mFile);
        mFilled += got;
        if (got == 0) mAtEnd = true;
      }
      if (mAtEnd) {
        mTaken = mFilled;
        return std::string_view(mBuffer.data(), mFilled);
      }
      std::size_t end = mFilled;
      while (end > 0 && mBuffer[end - 1] != '\n') --end;  // lines are short: a short walk
      if (end > 0) {
        mTaken = end;
        return std::string_view(mBuffer.data(), mTaken);
      }
    }
  }

  bool Failed() const { return std::ferror(mFile) != 0; }

private:
  static constexpr std::size_t kChunk = std::size_t(1) << 20;
  std::FILE* mFile;
  std::vector<char> mBuffer;
  std::size_t mFilled = 0;  // bytes in the buffer
  std::size_t mTaken = 0;   // of which handed out by the last Next
  bool mAtEnd = false;
};

}  // namespace

bool OBJFileReader::Load(std::string name, Mesh* mesh) {
  if (mesh == nullptr) return false;
  const std::string path = "../resources/meshes/" + name + ".obj";
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;

  // First the line counts, so the lists are sized once; a file that cannot be read (a folder,
  // for one) leaves the mesh untouched.
  objreader::LineCounts counts;
  {
    LineChunks chunks(file.get());
    for (std::string_view text = chunks.Next(); !text.empty(); text = chunks.Next())
      objreader::CountLines(text, counts);
    if (chunks.Failed()) return false;
  }
  std::rewind(file.get());

  const std::size_t firstVertex = mesh->mVertices.size();
  const std::size_t firstPositionList = mesh->mPositionNormals.size();
  objreader::ReadLists lists;
  objreader::Reserve(counts, lists, *mesh);
  LineChunks chunks(file.get());
  // A read error now (the file changed under us) ends the statements where it happened.
  for (std::string_view text = chunks.Next(); !text.empty(); text = chunks.Next())
    objreader::ReadStatements(text, lists, *mesh);
  objreader::FinishMesh(lists, firstVertex, firstPositionList, *mesh);
  return true;
}

bool OBJFileReader::LoadFromText(std::string_view text, Mesh* mesh) {
  if (mesh == nullptr) return false;
  const std::size_t firstVertex = mesh->mVertices.size();
  const std::size_t firstPositionList = mesh->mPositionNormals.size();
  objreader::LineCounts counts;
  objreader::CountLines(text, counts);
  objreader::ReadLists lists;
  objreader::Reserve(counts, lists, *mesh);
  objreader::ReadStatements(text, lists, *mesh);
  objreader::FinishMesh(lists, firstVertex, firstPositionList, *mesh);
  return true;
}
