// The renderer: fixed OpenGL state, the libraries it owns, the debug batches and the frame.
#pragma once

#include <vector>

#include "BackgroundLayer.h"
#include "DebugBatch.h"
#include "GLHandle.h"
#include "ObjectManager.h"
#include "Singleton.h"
#include "SubSystem.h"
#include "TweakBar.h"
#include "glm_types.h"

class LabelOverlay;
class MeshLibrary;
class LightSet;
class ShaderLibrary;
class TextureLibrary;

class GraphicsManager : public Singleton<GraphicsManager>, public SubSystem {
public:
  void Initialize() override;
  void Shutdown() override;

  // Draws one frame from the draw list and presents it.
  void RenderFrame(const ObjectTable& drawList);

  // Appends (from, color) and (to, color) to the line batch.
  void DrawLine(vec3 from, vec3 to, vec4 color);

  // Prints the first pending OpenGL error, if any.
  void CheckGLError();

  MeshLibrary* mMeshLibrary = nullptr;
  LightSet* mSceneSetup = nullptr;
  ShaderLibrary* mShaderLibrary = nullptr;
  TextureLibrary* mTextureLibrary = nullptr;
  TwEnumVal* mShaderTypes = nullptr;  // "shaderTypesEnum" labels, kept until Shutdown
  int mDisplayMode = 0;
  bool mIsTextured = true;
  bool mIsNormalMapped = false;
  float mBumpiness = 1.0f;
  GLuint mLineBuffer = 0;
  std::vector<ColorVertex> mLines;
  GLuint mPointBuffer = 0;
  std::vector<ColorVertex> mPoints;
  std::vector<TextLabel> mTexts;
  // Drawn under the batches in the next frame, then reset to none: handed over every frame.
  BackgroundLayer mBackground;
  GLuint mBackgroundBuffer = 0;
  mat4 mView = mat4(1.0f);
  mat4 mProjection = mat4(1.0f);
  mat4 mOrthoProjection = mat4(1.0f);  // scene pixels to clip space: the view and the window

private:
  LabelOverlay* mLabelOverlay = nullptr;  // draws mTexts; made in Initialize, owned

  friend class Singleton<GraphicsManager>;
  GraphicsManager() = default;

  void DrawBackground();
  void DrawObjects(const ObjectTable& drawList);
  void DrawLines();
  void DrawPoints();
  void DrawTexts();
  // Uploads and draws one line or point batch with "Lines", then empties it.
  void DrawBatch(std::vector<ColorVertex>& batch, GLuint buffer, unsigned int mode);
};
