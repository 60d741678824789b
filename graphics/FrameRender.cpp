// One frame: clear, the scene's draw list with "Default", the debug batches, the bars, the swap.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>  // std::any_of over the draw list

#include "CameraManager.h"
#include "GraphicsManager.h"
#include "Mesh.h"
#include "SceneObject.h"
#include "ShaderLibrary.h"
#include "WindowView.h"

namespace {

// Only the draw list's visible objects are drawn with the depth test; the debug batches, the
// labels and the bars leave the depth buffer alone.
bool AnyVisible(const ObjectTable& drawList) {
  return std::any_of(drawList.begin(), drawList.end(),
                     [](const auto& entry) { return entry.second->mVisible; });
}

}  // namespace

void GraphicsManager::RenderFrame(const ObjectTable& drawList) {
  // The whole window, whatever its size now, with one window pixel to one pixel of the screen.
  const WindowView* view = WindowView::Instance();
  glViewport(0, 0, view->Width(), view->Height());
  mOrthoProjection = view->Projection();

  // A frame with no depth-tested draw skips the depth clear: with 4x multisampling a software
  // renderer (llvmpipe) spends about a third of such a frame clearing depth that nothing reads.
  glClear(AnyVisible(drawList) ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT);

  // The camera exists for the frame, but the view stays fixed at the identity.
  mView = mat4(1.0f);
  CameraManager::Instance();

  DrawObjects(drawList);
  DrawLines();
  DrawPoints();
  DrawTexts();
  CheckGLError();
  TwDraw();
  glutSwapBuffers();
}

void GraphicsManager::DrawObjects(const ObjectTable& drawList) {
  ShaderProgram* program = mShaderLibrary->UseProgram("Default");
  mProjection = mOrthoProjection;
  // Without a program there is nothing to upload to; the build is tried again next frame.
  if (program == nullptr) return;

  // Equal texture ids come one after another, so each run of them sets the material once.
  GLuint previousTexture = 0;
  for (const auto& [texture, object] : drawList) {
    Mesh* mesh = object->mMesh;
    mat4 model(1.0f);
    model[0][0] = object->mScale.x;
    model[1][1] = object->mScale.y;
    model[2][2] = object->mScale.z;
    model[3] = vec4(object->mPosition, 1.0f);
    mesh->mModel = model;

    if (texture != previousTexture) {
      program->ApplyMaterial(texture);
      previousTexture = texture;
    }
    program->BindMesh(*mesh);
    if (object->mVisible) {
      glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh->mIndices.size()), GL_UNSIGNED_INT, nullptr);
    }
  }
}
