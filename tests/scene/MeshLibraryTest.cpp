// The mesh library in a real OpenGL context: one mesh per name, the quad, the buffers.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <memory>
#include <vector>

#include "GlTestContext.h"
#include "Mesh.h"
#include "MeshLibrary.h"
#include "TestSupport.h"

namespace {

const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nf 1/1 2/2 3/3\n";

class MeshLibraryTest : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::EnsureGlContext();
    mLibrary = std::make_unique<MeshLibrary>();
  }
  void TearDown() override {
    if (mLibrary) mLibrary->ReleaseAll();
  }

  void WriteMesh(const std::string& name, const std::string& text) {
    testsupport::WriteFile(mDir.Resources() / "meshes" / (name + ".obj"), text);
  }

  static GLint BufferSize(GLenum target, GLuint buffer) {
    GLint size = -1;
    glBindBuffer(target, buffer);
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    return size;
  }

  testsupport::TempWorkDir mDir;
  std::unique_ptr<MeshLibrary> mLibrary;
};

TEST_F(MeshLibraryTest, ReadsANameOnceAndSharesTheMesh) {
  WriteMesh("tri", kTriangle);
  Mesh* first = mLibrary->GetMesh("tri");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->mVertices.size(), 3u);
  EXPECT_EQ(first->mName, "tri");
  // A changed file is not read again: the name already has its mesh.
  WriteMesh("tri", std::string(kTriangle) + "f 3/3 2/2 1/1\n");
  EXPECT_EQ(mLibrary->GetMesh("tri"), first);
  EXPECT_EQ(first->mVertices.size(), 3u);
}

TEST_F(MeshLibraryTest, NamesThatDifferInCaseAreDifferentMeshes) {
  WriteMesh("box", kTriangle);
  WriteMesh("Box", std::string(kTriangle) + "f 3/3 2/2 1/1\n");
  Mesh* lower = mLibrary->GetMesh("box");
  Mesh* upper = mLibrary->GetMesh("Box");
  EXPECT_NE(lower, upper);
  EXPECT_EQ(lower->mVertices.size(), 3u);
  EXPECT_EQ(upper->mVertices.size(), 6u);
}

TEST_F(MeshLibraryTest, MissingFileGivesAnEmptyMeshThatStays) {
  Mesh* missing = mLibrary->GetMesh("nothing");
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->mVertices.empty());
  EXPECT_TRUE(missing->mIndices.empty());
  EXPECT_EQ(mLibrary->mMeshes.count("nothing"), 1u);
  EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER, missing->mVertexBuffer), 0);
  EXPECT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER, missing->mIndexBuffer), 0);
  // The file appearing later changes nothing.
  WriteMesh("nothing", kTriangle);
  EXPECT_EQ(mLibrary->GetMesh("nothing"), missing);
  EXPECT_TRUE(missing->mVertices.empty());
}

TEST_F(MeshLibraryTest, UploadsTheVerticesAndIndicesAsTheyAre) {
  WriteMesh("tri", kTriangle);
  Mesh* mesh = mLibrary->GetMesh("tri");
  ASSERT_EQ(BufferSize(GL_ARRAY_BUFFER, mesh->mVertexBuffer), 3 * 56);
  std::vector<Vertex> uploaded(3);
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, 3 * 56, uploaded.data());
  EXPECT_EQ(std::memcmp(uploaded.data(), mesh->mVertices.data(), 3 * 56), 0);
  ASSERT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER, mesh->mIndexBuffer), 3 * 4);
  std::uint32_t indices[3] = {9, 9, 9};
  glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof indices, indices);
  EXPECT_EQ(indices[0], 0u);
  EXPECT_EQ(indices[1], 1u);
  EXPECT_EQ(indices[2], 2u);
}

TEST_F(MeshLibraryTest, BuildsTheScreenQuad) {
  ASSERT_EQ(mLibrary->mMeshes.count("UIQuad"), 1u);
  Mesh* quad = mLibrary->mMeshes.at("UIQuad");
  EXPECT_EQ(quad->mName, "UIQuad");
  ASSERT_EQ(quad->mVertices.size(), 4u);
  const vec3 positions[4] = {
      {-0.5f, -0.5f, 1.0f}, {0.5f, -0.5f, 1.0f}, {-0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 1.0f}};
  const vec2 texCoords[4] = {{0, 1}, {1, 1}, {0, 0}, {1, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(quad->mVertices[i].position, positions[i]);
    EXPECT_EQ(quad->mVertices[i].texCoord, texCoords[i]);
    EXPECT_EQ(quad->mVertices[i].normal, vec3(0.0f));
    EXPECT_EQ(quad->mVertices[i].tangent, vec3(0.0f));
    EXPECT_EQ(quad->mVertices[i].biTangent, vec3(0.0f));
  }
  EXPECT_EQ(quad->mIndices, (std::vector<std::uint32_t>{0, 1, 2, 1, 3, 2}));
  EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER, quad->mVertexBuffer), 4 * 56);
  EXPECT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER, quad->mIndexBuffer), 6 * 4);
  EXPECT_EQ(mLibrary->GetMesh("UIQuad"), quad);
}

TEST_F(MeshLibraryTest, QuadFileOnlyLeavesItsNormalLists) {
  mLibrary->ReleaseAll();
  WriteMesh("UIQuad", kTriangle);
  mLibrary = std::make_unique<MeshLibrary>();
  Mesh* quad = mLibrary->mMeshes.at("UIQuad");
  EXPECT_EQ(quad->mVertices.size(), 4u);
  EXPECT_EQ(quad->mIndices.size(), 6u);
  EXPECT_EQ(quad->mVertices[3].texCoord, vec2(1, 0));
  EXPECT_EQ(quad->mPositionNormals.size(), 3u);  // from the file
  EXPECT_EQ(quad->mFaceNormals.size(), 3u);
}

TEST_F(MeshLibraryTest, ReleaseAllDeletesEveryBuffer) {
  WriteMesh("tri", kTriangle);
  mLibrary->GetMesh("tri");
  mLibrary->GetMesh("nothing");  // two zero-size buffers
  std::vector<GLuint> buffers;
  for (const auto& entry : mLibrary->mMeshes) {
    buffers.push_back(entry.second->mVertexBuffer);
    buffers.push_back(entry.second->mIndexBuffer);
  }
  ASSERT_EQ(buffers.size(), 6u);
  for (GLuint buffer : buffers) ASSERT_TRUE(glIsBuffer(buffer)) << buffer;
  mLibrary->ReleaseAll();
  EXPECT_TRUE(mLibrary->mMeshes.empty());
  for (GLuint buffer : buffers) EXPECT_FALSE(glIsBuffer(buffer)) << buffer;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
