// The renderer's life cycle: fixed OpenGL state, owned libraries, tweak enumerations, error report.
#include "GraphicsManager.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>

#include "GUIManager.h"
#include "LabelOverlay.h"
#include "LightSet.h"
#include "MeshLibrary.h"
#include "ObjectManager.h"
#include "ShaderLibrary.h"
#include "TextureLibrary.h"
#include "WindowView.h"

namespace {

// Enumerations offered to the tweak bars; no bar variable uses them yet.
void DefineTweakEnums(TwEnumVal* shaderTypes) {
  GUIManager::Instance();
  TwDefineEnum("shaderTypesEnum", shaderTypes, 4);

  auto* normalMapDrawTypes = new TwEnumVal[4]{{0, "Default"}, {1, "Normal Map"}, {2, "Tangent"}, {3, "Bi"}};
  TwDefineEnum("normalMapDrawTypes", normalMapDrawTypes, 4);
  delete[] normalMapDrawTypes;

  auto* debugDrawTypes = new TwEnumVal[3]{{0, "None"}, {1, "Vertex Normals"}, {2, "Face Normals"}};
  TwDefineEnum("debugDrawTypes", debugDrawTypes, 3);
  delete[] debugDrawTypes;
}

}  // namespace

void GraphicsManager::Initialize() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);

  glDisable(GL_POINT_SPRITE);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glEnable(GL_POINT_SMOOTH);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);

  glPointSize(8.0f);
  glLineWidth(1.0f);

  // New scene objects take their meshes, then also their textures, from the libraries made here.
  ObjectManager* objects = ObjectManager::Instance();
  mShaderLibrary = new ShaderLibrary();
  mMeshLibrary = new MeshLibrary();
  objects->mMeshLibrary = mMeshLibrary;
  mSceneSetup = new LightSet();  // its marker objects take meshes from mMeshLibrary
  mTextureLibrary = new TextureLibrary();
  objects->mTextures = mTextureLibrary;

  glGenBuffers(1, &mLineBuffer);
  glGenBuffers(1, &mPointBuffer);
  mLabelOverlay = new LabelOverlay();  // its GL objects come with the first labels

  // Window pixels from the lower-left corner; visible depth from z = -1 to z = -1000. Each
  // frame takes it anew for the window's size then.
  mOrthoProjection = WindowView::Instance()->Projection();

  mShaderTypes =
      new TwEnumVal[4]{{0, "Default"}, {1, "PhongLighting"}, {2, "PhongShading"}, {3, "BlinnShading"}};
  DefineTweakEnums(mShaderTypes);
}

void GraphicsManager::Shutdown() {
  glDeleteBuffers(1, &mLineBuffer);
  glDeleteBuffers(1, &mPointBuffer);
  mLineBuffer = 0;
  mPointBuffer = 0;
  if (mLabelOverlay != nullptr) mLabelOverlay->Release();
  delete mLabelOverlay;
  mLabelOverlay = nullptr;

  ObjectManager* objects = ObjectManager::Instance();
  objects->mMeshLibrary = nullptr;
  objects->mTextures = nullptr;
  if (mMeshLibrary != nullptr) mMeshLibrary->ReleaseAll();
  delete mMeshLibrary;
  mMeshLibrary = nullptr;
  delete mSceneSetup;
  mSceneSetup = nullptr;
  delete mShaderLibrary;
  mShaderLibrary = nullptr;
  delete mTextureLibrary;  // the texture objects go with the context
  mTextureLibrary = nullptr;
  delete[] mShaderTypes;
  mShaderTypes = nullptr;
}

void GraphicsManager::CheckGLError() {
  const GLenum code = glGetError();
  if (code == GL_NO_ERROR) return;
  // GLU has no text for codes it does not know; print the code alone then.
  const GLubyte* text = gluErrorString(code);
  std::cout << "Error occurred in OpenGL:\nCode: " << code << "\n"
            << (text != nullptr ? reinterpret_cast<const char*>(text) : "") << std::endl;
}
