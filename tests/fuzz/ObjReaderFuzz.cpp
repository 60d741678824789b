// Fuzz target: OBJ text straight into the reader; the mesh it makes must stay consistent.
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "Mesh.h"
#include "OBJFileReader.h"

using fuzzsupport::Fail;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::EnterPrivateFolder();  // no ../resources here: the Mesh constructor reads nothing
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Mesh mesh("fuzz");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!OBJFileReader::Instance()->LoadFromText(text, &mesh)) Fail("LoadFromText refused a mesh");
  // One vertex and one index per corner, three corners per triangle, indices in order.
  if (mesh.mVertices.size() != mesh.mIndices.size()) Fail("vertex and index counts differ");
  if (mesh.mVertices.size() % 3 != 0) Fail("a triangle without three corners");
  for (std::size_t i = 0; i < mesh.mIndices.size(); ++i)
    if (mesh.mIndices[i] != i) Fail("indices out of order");
  std::size_t listed = 0;
  for (const auto& normals : mesh.mPositionNormals) listed += normals.size();
  if (listed != mesh.mFaceNormals.size()) Fail("face normals and per-position lists disagree");
  return 0;
}
