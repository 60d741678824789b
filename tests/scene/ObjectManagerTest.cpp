// Scene objects and the default lights, with a mesh library and the renderer's texture library.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "GlTestContext.h"
#include "LightSet.h"
#include "Mesh.h"
#include "MeshLibrary.h"
#include "ObjectManager.h"
#include "TestSupport.h"
#include "TextureLibrary.h"

namespace {

// A 2 x 2 uncompressed true-colour TGA, which SOIL reads.
std::string TinyTga() {
  std::string tga(18, '\0');
  tga[2] = 2;   // uncompressed true colour
  tga[12] = 2;  // width
  tga[14] = 2;  // height
  tga[16] = 24;
  tga += std::string(2 * 2 * 3, '\x7f');
  return tga;
}

// The libraries the graphics manager owns and hands to the object manager at its start-up.
class SceneObjects : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::EnsureGlContext();
    testsupport::WriteFile(mDir.Resources() / "meshes" / "sphere.obj",
                           testsupport::ReadFile(SCENE_SPHERE_OBJ));
    testsupport::WriteFile(mDir.Resources() / "textures" / "stone.tga", TinyTga());
    testsupport::WriteFile(mDir.Resources() / "textures" / "wood.tga", TinyTga());
    mMeshes = std::make_unique<MeshLibrary>();  // builds "UIQuad" on the context
    mManager->mMeshLibrary = mMeshes.get();
    mManager->mTextures = &mTextures;
  }

  void TearDown() override {
    mManager->Shutdown();
    delete mLights;
    mMeshes->ReleaseAll();
    mManager->mMeshLibrary = nullptr;
    mManager->mTextures = nullptr;
  }

  SceneObject* Make(const std::string& mesh, const std::string& texture) {
    return mManager->CreateObject(mesh, vec3(1, 2, 3), vec3(0.1f, 0.2f, 0.3f), vec3(4, 5, 6), texture);
  }

  testsupport::TempWorkDir mDir;
  ObjectManager* mManager = ObjectManager::Instance();
  std::unique_ptr<MeshLibrary> mMeshes;
  TextureLibrary mTextures;
  LightSet* mLights = nullptr;
};

TEST_F(SceneObjects, LightSetMakesEightMarkedLightsOnARing) {
  mLights = new LightSet();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(mLights->mGlobalAmbient, vec4(0.2f, 0.2f, 0.2f, 1.0f));
  ASSERT_EQ(mLights->mLights.size(), 8u);
  EXPECT_TRUE(mManager->mRenderList.empty());
  ASSERT_EQ(mManager->mObjects.size(), 8u);
  EXPECT_EQ(mManager->mObjects.count(0), 8u);

  Mesh* sphere = mMeshes->mMeshes.at("sphere");
  EXPECT_FALSE(sphere->mVertices.empty());
  // The ring as stepped in single precision from (5, 2, 0), 45 degrees at a time.
  const float c = std::cos(0.7853982f);
  const float s = std::sin(0.7853982f);
  vec3 p(5.0f, 2.0f, 0.0f);
  std::set<SceneObject*> markers;
  for (int k = 0; k < 8; ++k) {
    const Light* light = mLights->mLights[k];
    EXPECT_EQ(light->mIndex, k);
    EXPECT_EQ(light->mType, 0);
    EXPECT_FALSE(light->mIsActive);
    EXPECT_EQ(light->mDirection, vec3(0, 0, 1));
    EXPECT_EQ(light->mAmbient, vec4(0.0f));
    EXPECT_EQ(light->mDiffuse, vec4(0.8f, 0.8f, 0.8f, 1.0f));
    EXPECT_EQ(light->mSpecular, vec4(1.0f));
    EXPECT_EQ(light->mConstAtt, 1.0f);
    EXPECT_EQ(light->mLinearAtt, 0.1f);
    EXPECT_EQ(light->mQuadAtt, 0.0f);
    EXPECT_EQ(light->mSpotInnerAngle, 15.0f);
    EXPECT_EQ(light->mSpotOuterAngle, 30.0f);
    EXPECT_EQ(light->mSpotFallOff, 1.0f);

    const SceneObject* marker = light->mMarker;
    ASSERT_NE(marker, nullptr);
    markers.insert(light->mMarker);
    EXPECT_EQ(marker->mPosition, p) << "light " << k;
    const double angle = 3.14159265358979 / 4 * k;
    EXPECT_NEAR(marker->mPosition.x, 5 * std::cos(angle), 1e-5);
    EXPECT_EQ(marker->mPosition.y, 2.0f);
    EXPECT_NEAR(marker->mPosition.z, 5 * std::sin(angle), 1e-5);
    EXPECT_EQ(marker->mScale, vec3(0.0f));
    EXPECT_EQ(marker->mRotation, vec3(0.0f));
    EXPECT_EQ(marker->mName, "light");
    EXPECT_TRUE(marker->mVisible);
    EXPECT_EQ(marker->mMesh, sphere);
    p = vec3(p.x * c - p.z * s, p.y, p.x * s + p.z * c);
  }
  for (const auto& entry : mManager->mObjects) EXPECT_EQ(markers.count(entry.second), 1u);
}

TEST_F(SceneObjects, NinthLightIsRefused) {
  mLights = new LightSet();
  EXPECT_EQ(mLights->AddLight(vec3(1, 1, 1)), nullptr);
  EXPECT_EQ(mLights->mLights.size(), 8u);
  EXPECT_EQ(mManager->mObjects.size(), 8u);
}

TEST_F(SceneObjects, CreateObjectTakesItsArgumentsAndSharesMeshes) {
  SceneObject* a = Make("sphere", "");
  SceneObject* b = Make("sphere", "");
  SceneObject* missing = Make("no-such-mesh", "");
  EXPECT_EQ(a->mPosition, vec3(1, 2, 3));
  EXPECT_EQ(a->mRotation, vec3(0.1f, 0.2f, 0.3f));
  EXPECT_EQ(a->mScale, vec3(4, 5, 6));
  EXPECT_TRUE(a->mVisible);
  EXPECT_TRUE(a->mName.empty());
  EXPECT_EQ(a->mMesh, b->mMesh);
  ASSERT_NE(missing->mMesh, nullptr);
  EXPECT_TRUE(missing->mMesh->mVertices.empty());
  EXPECT_EQ(mManager->mObjects.count(0), 3u);
  EXPECT_TRUE(mTextures.mTextures.empty());
}

TEST_F(SceneObjects, ObjectsNamingOneTextureShareItsIdAndSitTogether) {
  SceneObject* first = Make("sphere", "stone.tga");
  Make("sphere", "");
  Make("sphere", "wood.tga");
  Make("sphere", "missing.tga");
  SceneObject* second = Make("sphere", "stone.tga");
  Make("sphere", "wood.tga");

  TextureLibrary* textures = &mTextures;
  EXPECT_EQ(textures->mTextures.size(), 2u);  // the missing file is not stored
  GLuint stone = textures->FindTexture("stone.tga");
  GLuint wood = textures->FindTexture("wood.tga");
  ASSERT_NE(stone, 0u);
  ASSERT_NE(wood, 0u);
  ASSERT_NE(stone, wood);
  EXPECT_EQ(mManager->mObjects.count(0), 2u);  // no name, and the missing file
  EXPECT_EQ(mManager->mObjects.count(wood), 2u);
  auto [from, to] = mManager->mObjects.equal_range(stone);
  std::set<SceneObject*> stoned;
  for (auto it = from; it != to; ++it) stoned.insert(it->second);
  EXPECT_EQ(stoned, (std::set<SceneObject*>{first, second}));

  // Iteration yields each texture's objects as one run.
  std::set<GLuint> finished;
  GLuint current = 0;
  bool started = false;
  for (const auto& entry : mManager->mObjects) {
    if (!started || entry.first != current) {
      EXPECT_EQ(finished.count(entry.first), 0u) << "texture " << entry.first << " comes back";
      if (started) finished.insert(current);
      current = entry.first;
      started = true;
    }
  }
}

TEST_F(SceneObjects, ShutdownFreesObjectsButNoMesh) {
  mLights = new LightSet();
  SceneObject* drawn = Make("sphere", "stone.tga");
  mManager->mRenderList.emplace(0u, drawn);  // filed in both tables: freed once
  mManager->mRenderList.emplace(0u, new SceneObject());
  Mesh* sphere = drawn->mMesh;
  const std::size_t vertices = sphere->mVertices.size();

  mManager->Shutdown();
  EXPECT_TRUE(mManager->mObjects.empty());
  EXPECT_TRUE(mManager->mRenderList.empty());
  EXPECT_EQ(mMeshes->mMeshes.at("sphere"), sphere);
  EXPECT_EQ(sphere->mVertices.size(), vertices);
  EXPECT_TRUE(glIsBuffer(sphere->mVertexBuffer));

  // The tables stay usable.
  Make("sphere", "");
  EXPECT_EQ(mManager->mObjects.size(), 1u);
}

}  // namespace
