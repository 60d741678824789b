// The shared OpenGL test context: a freeglut window under the test's X server.
#include "GlTestContext.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "WindowView.h"

namespace testsupport {

namespace {
int gWindow = 0;
}

void EnsureGlContext() {
  if (gWindow != 0) {
    glutSetWindow(gWindow);
    return;
  }
  int argc = 1;
  char name[] = "gl-test";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitContextVersion(2, 0);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
  glutInitWindowSize(gWindowWidth, gWindowHeight);
  glutInitWindowPosition(100, 100);
  gWindow = glutCreateWindow("gl-test");
  glutDisplayFunc([] {});
  glewInit();
}

Rgba ReadPixel(int x, int y) {
  Rgba pixel{0, 0, 0, 0};
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
  return pixel;
}

}  // namespace testsupport
