// peer_first_frame: the least a freeglut program does up to its first drawn frame: a window
// like Demo's, one clear, one swap. It then idles until it is ended.
#include <GL/freeglut.h>

namespace {

void Display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitContextVersion(2, 0);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(100, 100);
  glutCreateWindow("peer_first_frame");
  glutDisplayFunc(Display);
  glutMainLoop();
  return 0;
}
