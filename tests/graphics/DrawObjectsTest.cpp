// A frame's draw list drawn with the "Default" program: placement, textures, visibility.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "Mesh.h"
#include "SceneObject.h"
#include "ShaderLibrary.h"

namespace {

using graphicstest::GraphicsFixture;
using graphicstest::LastFrame;

class DrawObjectsTest : public GraphicsFixture {
protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    // A unit square around the origin in the z = 0 plane, counter-clockwise seen from +z.
    mQuad = new Mesh("test-square");
    for (vec3 corner : {vec3(-0.5f, -0.5f, 0.0f), vec3(0.5f, -0.5f, 0.0f), vec3(-0.5f, 0.5f, 0.0f),
                        vec3(0.5f, 0.5f, 0.0f)}) {
      Vertex vertex;
      vertex.position = corner;
      vertex.normal = vec3(0.0f, 0.0f, 1.0f);
      vertex.texCoord = vec2(corner) + vec2(0.5f);
      mQuad->mVertices.push_back(vertex);
    }
    mQuad->mIndices = {0, 1, 2, 1, 3, 2};
    mQuad->CreateBuffers();
    mOther = new Mesh("test-square-2");
    mOther->mVertices = mQuad->mVertices;
    mOther->mIndices = mQuad->mIndices;
    mOther->CreateBuffers();

    const unsigned char green[4] = {0, 255, 0, 255};
    glGenTextures(1, &mGreen);
    glBindTexture(GL_TEXTURE_2D, mGreen);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, green);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  void TearDown() override {
    for (Mesh* mesh : {mQuad, mOther}) {
      glDeleteBuffers(1, &mesh->mVertexBuffer);
      glDeleteBuffers(1, &mesh->mIndexBuffer);
      delete mesh;
    }
    glDeleteTextures(1, &mGreen);
    GraphicsFixture::TearDown();
  }

  static SceneObject Place(Mesh* mesh, vec3 position, vec3 scale) {
    SceneObject object;
    object.mMesh = mesh;
    object.mPosition = position;
    object.mScale = scale;
    return object;
  }

  Mesh* mQuad = nullptr;
  Mesh* mOther = nullptr;
  GLuint mGreen = 0;
};

TEST_F(DrawObjectsTest, ObjectsAreTranslatedAndScaledInWindowPixels) {
  // Squares of 40 x 20 pixels around (300, 300) and (600, 300); a hidden one around (450, 500).
  SceneObject left = Place(mQuad, vec3(300.0f, 300.0f, -10.0f), vec3(40.0f, 20.0f, 1.0f));
  SceneObject right = Place(mQuad, vec3(600.0f, 300.0f, -10.0f), vec3(40.0f, 20.0f, 1.0f));
  SceneObject hidden = Place(mOther, vec3(450.0f, 500.0f, -10.0f), vec3(40.0f, 20.0f, 1.0f));
  hidden.mVisible = false;
  ObjectTable drawList{{mGreen, &left}, {mGreen, &right}, {mGreen, &hidden}};

  mGraphics->RenderFrame(drawList);

  // Inner pixels of each visible square are the texture's green; the squares end at +-20, +-10.
  for (int x : {300, 600}) {
    EXPECT_EQ(LastFrame().Count(x - 18, 292, x + 18, 308, 0, 255, 0), 36 * 16) << x;
    EXPECT_EQ(LastFrame().Count(x - 40, 270, x - 22, 330, 0, 0, 0), 18 * 60) << x;
    EXPECT_EQ(LastFrame().Count(x + 22, 270, x + 40, 330, 0, 0, 0), 18 * 60) << x;
    EXPECT_EQ(LastFrame().Count(x - 18, 312, x + 18, 330, 0, 0, 0), 36 * 18) << x;
  }
  EXPECT_EQ(LastFrame().Count(420, 480, 480, 520, 0, 0, 0), 60 * 40);

  // Each mesh holds the transform of the last object drawn with it; the hidden one was set up.
  const mat4 hiddenModel(vec4(40.0f, 0.0f, 0.0f, 0.0f), vec4(0.0f, 20.0f, 0.0f, 0.0f),
                         vec4(0.0f, 0.0f, 1.0f, 0.0f), vec4(450.0f, 500.0f, -10.0f, 1.0f));
  EXPECT_EQ(mOther->mModel, hiddenModel);
  EXPECT_EQ(mGraphics->mProjection, mGraphics->mOrthoProjection);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DrawObjectsTest, AVisibleObjectShowsInEveryFrameWhateverTheFramesBeforeDrew) {
  // The same square at the same depth, frame after frame: a frame that draws it must start from
  // a cleared depth buffer, or the depth test hides it behind its own depth of the frame before.
  // A frame without a visible object may leave the depth buffer as it was.
  SceneObject square = Place(mQuad, vec3(300.0f, 300.0f, -10.0f), vec3(40.0f, 20.0f, 1.0f));
  const ObjectTable drawList{{mGreen, &square}};
  for (bool visible : {true, true, false, true, false, false, true}) {
    square.mVisible = visible;
    mGraphics->RenderFrame(drawList);
    EXPECT_EQ(LastFrame().Count(282, 292, 318, 308, 0, 255, 0), visible ? 36 * 16 : 0);
    EXPECT_EQ(LastFrame().Count(282, 292, 318, 308, 0, 0, 0), visible ? 0 : 36 * 16);
  }
}

TEST_F(DrawObjectsTest, LeadingUntexturedEntriesKeepTheProgramsSettings) {
  // The first frame of a fresh program: no material has been applied yet, so u_isTextured
  // still holds its initial 0 and the square is drawn plain white.
  SceneObject plain = Place(mQuad, vec3(300.0f, 300.0f, -10.0f), vec3(40.0f, 20.0f, 1.0f));
  mGraphics->RenderFrame(ObjectTable{{0u, &plain}});
  EXPECT_EQ(LastFrame().Count(282, 292, 318, 308, 255, 255, 255), 36 * 16);
  ShaderProgram* program = mGraphics->mShaderLibrary->mPrograms.at("Default");
  GLint textured = -1;
  glGetUniformiv(program->mId, program->u_isTextured, &textured);
  EXPECT_EQ(textured, 0);

  // A textured entry applies the material: the render settings arrive, the texture is bound.
  mGraphics->RenderFrame(ObjectTable{{mGreen, &plain}});
  EXPECT_EQ(LastFrame().Count(282, 292, 318, 308, 0, 255, 0), 36 * 16);
  glGetUniformiv(program->mId, program->u_isTextured, &textured);
  EXPECT_EQ(textured, 1);
}

}  // namespace
