// TwDraw: renders the bars with Dear ImGui's OpenGL 2 backend, leaving the caller's GL state as it was.
#include <GL/glew.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>

#include "TweakBarState.h"

namespace {

// The backend draws with the fixed-function pipeline from client-side arrays, so the program,
// the buffer bindings and the generic attribute arrays of the renderer must be out of its way.
struct SavedGlState {
  GLint program = 0;
  GLint arrayBuffer = 0;
  GLint elementBuffer = 0;
  GLint activeTexture = 0;
};

SavedGlState SaveAndClear() {
  SavedGlState saved;
  glGetIntegerv(GL_CURRENT_PROGRAM, &saved.program);
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &saved.arrayBuffer);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &saved.elementBuffer);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &saved.activeTexture);
  glUseProgram(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glActiveTexture(GL_TEXTURE0);
  // Smoothed polygons would show the seams between the bar's triangles.
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_LIGHTING);
  return saved;
}

void Restore(const SavedGlState& saved) {
  glPopAttrib();
  glActiveTexture(static_cast<GLenum>(saved.activeTexture));
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(saved.arrayBuffer));
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(saved.elementBuffer));
  glUseProgram(static_cast<GLuint>(saved.program));
}

}  // namespace

void tweakbar::ReleaseRenderer() {
  Context& state = State();
  if (!state.rendererReady) return;
  ImGui::SetCurrentContext(state.imgui);
  ImGui_ImplOpenGL2_Shutdown();
  state.rendererReady = false;
}

int TwDraw() {
  tweakbar::Context& state = tweakbar::State();
  if (!state.initialised) return 0;
  ImGui::SetCurrentContext(state.imgui);
  if (!state.rendererReady) state.rendererReady = ImGui_ImplOpenGL2_Init();
  ImGui_ImplOpenGL2_NewFrame();
  tweakbar::RunFrame();
  const SavedGlState saved = SaveAndClear();
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
  Restore(saved);
  return 1;
}
