// The graphics manager's start-up state, its shutdown, the error report and the frame sequence.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "GraphicsTestSupport.h"
#include "LightSet.h"
#include "Mesh.h"
#include "MeshLibrary.h"
#include "ObjectManager.h"
#include "ShaderLibrary.h"
#include "TextureLibrary.h"

namespace {

using graphicstest::GraphicsFixture;
using testsupport::CaptureStdout;

class GraphicsManagerTest : public GraphicsFixture {};

GLint Integer(GLenum name) {
  GLint value = -1;
  glGetIntegerv(name, &value);
  return value;
}

float Float(GLenum name) {
  float value[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
  glGetFloatv(name, value);
  return value[0];
}

TEST_F(GraphicsManagerTest, InitializeSetsTheFixedStateAndCreatesTheLibraries) {
  for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH,
                     GL_POINT_SMOOTH, GL_LIGHTING}) {
    EXPECT_TRUE(glIsEnabled(cap)) << cap;
  }
  EXPECT_FALSE(glIsEnabled(GL_POINT_SPRITE));
  EXPECT_EQ(Integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
  EXPECT_EQ(Integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(Integer(GL_BLEND_SRC_ALPHA), GL_SRC_ALPHA);
  EXPECT_EQ(Integer(GL_BLEND_DST_ALPHA), GL_ONE_MINUS_SRC_ALPHA);
  float clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);
  EXPECT_EQ(clear[1], 0.0f);
  EXPECT_EQ(clear[2], 0.0f);
  EXPECT_EQ(clear[3], 1.0f);
  EXPECT_EQ(Float(GL_DEPTH_CLEAR_VALUE), 1.0f);
  for (GLenum hint : {GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT}) {
    EXPECT_EQ(Integer(hint), GL_NICEST) << hint;
  }
  EXPECT_EQ(Float(GL_POINT_SIZE), 8.0f);
  EXPECT_EQ(Float(GL_LINE_WIDTH), 1.0f);

  ASSERT_NE(mGraphics->mShaderLibrary, nullptr);
  EXPECT_TRUE(mGraphics->mShaderLibrary->mPrograms.empty());  // built on first use
  EXPECT_EQ(mGraphics->mShaderLibrary->mCurrent, nullptr);
  ASSERT_NE(mGraphics->mMeshLibrary, nullptr);
  EXPECT_EQ(mGraphics->mMeshLibrary->mMeshes.count("UIQuad"), 1u);
  ASSERT_NE(mGraphics->mSceneSetup, nullptr);
  EXPECT_EQ(mGraphics->mSceneSetup->mLights.size(), 8u);
  ASSERT_NE(mGraphics->mTextureLibrary, nullptr);
  EXPECT_TRUE(mGraphics->mTextureLibrary->mTextures.empty());
  EXPECT_NE(mGraphics->mLineBuffer, 0u);
  EXPECT_NE(mGraphics->mPointBuffer, 0u);
  EXPECT_NE(mGraphics->mLineBuffer, mGraphics->mPointBuffer);

  ASSERT_NE(mGraphics->mShaderTypes, nullptr);
  const char* const labels[] = {"Default", "PhongLighting", "PhongShading", "BlinnShading"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(mGraphics->mShaderTypes[i].Value, i);
    EXPECT_STREQ(mGraphics->mShaderTypes[i].Label, labels[i]);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsManagerTest, OrthographicProjectionMapsWindowPixels) {
  float expected[16] = {};
  expected[0] = 2.0f / 1024.0f;
  expected[5] = 2.0f / 768.0f;
  expected[10] = -2.0f / 999.0f;
  expected[12] = -1.0f;
  expected[13] = -1.0f;
  expected[14] = -1001.0f / 999.0f;
  expected[15] = 1.0f;
  const float* actual = &mGraphics->mOrthoProjection[0][0];
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(actual[i], expected[i]) << "element " << i;
  EXPECT_EQ(mGraphics->mView, mat4(1.0f));
}

TEST_F(GraphicsManagerTest, CheckGLErrorPrintsOneCodeWithItsText) {
  {
    CaptureStdout out;
    mGraphics->CheckGLError();
    EXPECT_EQ(out.Text(), "");
  }
  glEnable(0x7FFF);  // GL_INVALID_ENUM
  CaptureStdout out;
  mGraphics->CheckGLError();
  mGraphics->CheckGLError();
  const std::string text = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
  EXPECT_EQ(out.Text(), "Error occurred in OpenGL:\nCode: 1280\n" + text + "\n");
}

TEST_F(GraphicsManagerTest, FrameReportsOnePendingErrorAndEmptiesItsBatches) {
  mGraphics->DrawLine(vec3(10.0f, 10.0f, -5.0f), vec3(100.0f, 10.0f, -5.0f), vec4(1.0f));
  mGraphics->mPoints.push_back({vec3(50.0f, 50.0f, -5.0f), vec4(1.0f)});
  mGraphics->mTexts.push_back({"label", vec2(0.0f, 0.0f)});
  {
    CaptureStdout out;
    mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);  // builds both programs
    EXPECT_EQ(out.Text(), "");
  }
  EXPECT_TRUE(mGraphics->mLines.empty());
  EXPECT_TRUE(mGraphics->mPoints.empty());
  EXPECT_TRUE(mGraphics->mTexts.empty());
  EXPECT_GE(mGraphics->mLines.capacity(), 2u);
  EXPECT_GE(mGraphics->mPoints.capacity(), 1u);
  EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Default"), 1u);
  EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Lines"), 1u);

  glLineWidth(-1.0f);  // GL_INVALID_VALUE, left pending before the frame
  const std::string text = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_VALUE));
  {
    CaptureStdout out;
    mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);
    EXPECT_EQ(out.Text(), "Error occurred in OpenGL:\nCode: 1281\n" + text + "\n");
  }
  CaptureStdout out;
  mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);
  EXPECT_EQ(out.Text(), "");
}

// Counts the non-overlapping occurrences of needle in text.
size_t Occurrences(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(GraphicsManagerTest, MissingLinesProgramDropsTheBatchesAndIsRetried) {
  namespace fs = std::filesystem;
  const fs::path vert = mDir.Resources() / "shaders" / "Lines.vert";
  const fs::path kept = mDir.Resources() / "shaders" / "Lines.vert.kept";
  fs::rename(vert, kept);
  const std::string message = "error in opening shader file: ../resources/shaders/Lines.vert\n";

  for (int frame = 0; frame < 2; ++frame) {
    mGraphics->DrawLine(vec3(10.0f, 10.0f, -5.0f), vec3(100.0f, 10.0f, -5.0f), vec4(1.0f));
    mGraphics->mPoints.push_back({vec3(50.0f, 50.0f, -5.0f), vec4(1.0f)});
    CaptureStdout out;
    mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);
    // One request for the lines and one for the points, each a fresh attempt.
    EXPECT_EQ(Occurrences(out.Text(), message), 2u) << out.Text();
    EXPECT_EQ(out.Text().find("Error occurred in OpenGL"), std::string::npos) << out.Text();
    EXPECT_TRUE(mGraphics->mLines.empty());
    EXPECT_TRUE(mGraphics->mPoints.empty());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Lines"), 0u);
  }

  fs::rename(kept, vert);
  mGraphics->DrawLine(vec3(10.0f, 10.0f, -5.0f), vec3(100.0f, 10.0f, -5.0f), vec4(1.0f));
  CaptureStdout out;
  mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);
  EXPECT_EQ(out.Text(), "");
  EXPECT_EQ(mGraphics->mShaderLibrary->mPrograms.count("Lines"), 1u);
}

TEST_F(GraphicsManagerTest, MissingDefaultProgramDrawsNoObjectAndMakesNoError) {
  std::filesystem::remove(mDir.Resources() / "shaders" / "Default.frag");
  Mesh* mesh = mGraphics->mMeshLibrary->mMeshes.at("UIQuad");
  SceneObject object;
  object.mMesh = mesh;
  object.mPosition = vec3(500.0f, 400.0f, -10.0f);
  const mat4 modelBefore = mesh->mModel;
  ObjectTable drawList{{0u, &object}};

  for (int frame = 0; frame < 2; ++frame) {
    CaptureStdout out;
    mGraphics->RenderFrame(drawList);
    EXPECT_EQ(out.Text().rfind("error in opening shader file: ../resources/shaders/Default.frag\n", 0), 0u)
        << out.Text();
    EXPECT_EQ(out.Text().find("Error occurred in OpenGL"), std::string::npos) << out.Text();
  }
  EXPECT_EQ(mesh->mModel, modelBefore);  // the object was not set up for drawing
  EXPECT_EQ(mGraphics->mProjection, mGraphics->mOrthoProjection);
}

TEST_F(GraphicsManagerTest, ShutdownReleasesBuffersMeshesAndPrograms) {
  mGraphics->DrawLine(vec3(10.0f, 10.0f, -5.0f), vec3(100.0f, 10.0f, -5.0f), vec4(1.0f));
  mGraphics->mPoints.push_back({vec3(50.0f, 50.0f, -5.0f), vec4(1.0f)});
  mGraphics->RenderFrame(ObjectManager::Instance()->mRenderList);

  std::vector<GLuint> buffers = {mGraphics->mLineBuffer, mGraphics->mPointBuffer};
  for (const auto& entry : mGraphics->mMeshLibrary->mMeshes) {
    buffers.push_back(entry.second->mVertexBuffer);
    buffers.push_back(entry.second->mIndexBuffer);
  }
  std::vector<GLuint> programs;
  for (const auto& entry : mGraphics->mShaderLibrary->mPrograms) {
    programs.push_back(entry.second->mId);
  }
  ASSERT_EQ(programs.size(), 2u);
  for (GLuint buffer : buffers) ASSERT_TRUE(glIsBuffer(buffer)) << buffer;

  glUseProgram(0);
  mGraphics->Shutdown();
  for (GLuint buffer : buffers) EXPECT_FALSE(glIsBuffer(buffer)) << buffer;
  for (GLuint program : programs) EXPECT_FALSE(glIsProgram(program)) << program;
  EXPECT_EQ(mGraphics->mMeshLibrary, nullptr);
  EXPECT_EQ(mGraphics->mSceneSetup, nullptr);
  EXPECT_EQ(mGraphics->mShaderLibrary, nullptr);
  EXPECT_EQ(mGraphics->mTextureLibrary, nullptr);
  EXPECT_EQ(mGraphics->mShaderTypes, nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
