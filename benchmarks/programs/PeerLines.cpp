// peer_lines N: a minimal freeglut program that draws N line vertices per frame in one draw
// call, frame after frame: the vertices uploaded once per frame as Demo's line batch is (28
// bytes each, position and colour), one shader, 1-pixel smooth blended lines, no depth test.
// The lines follow the same figure as the benchmark paths, so they cover alike.
#include <GL/glew.h>  // before any other GL header

#include <GL/freeglut.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BenchPaths.h"

namespace {

struct Vertex {
  float x, y, z, r, g, b, a;
};

std::vector<Vertex> gVertices;
GLuint gBuffer = 0;
GLint gPosition = -1, gColor = -1;

const char* const kVertexShader =
    "#version 110\n"
    "attribute vec3 a_vertex;\nattribute vec4 a_color;\nuniform mat4 u_projection;\n"
    "varying vec4 v_color;\n"
    "void main() { v_color = a_color; gl_Position = u_projection * vec4(a_vertex, 1.0); }\n";
const char* const kFragmentShader =
    "#version 110\nvarying vec4 v_color;\nvoid main() { gl_FragColor = v_color; }\n";

GLuint Program() {
  const GLuint program = glCreateProgram();
  for (const auto& [type, source] :
       {std::pair{GL_VERTEX_SHADER, kVertexShader}, std::pair{GL_FRAGMENT_SHADER, kFragmentShader}}) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    glAttachShader(program, shader);
  }
  glLinkProgram(program);
  return program;
}

void Frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBindBuffer(GL_ARRAY_BUFFER, gBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(gVertices.size() * sizeof(Vertex)), gVertices.data(),
               GL_STREAM_DRAW);
  glEnableVertexAttribArray(static_cast<GLuint>(gPosition));
  glVertexAttribPointer(static_cast<GLuint>(gPosition), 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
  glEnableVertexAttribArray(static_cast<GLuint>(gColor));
  glVertexAttribPointer(static_cast<GLuint>(gColor), 4, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<const void*>(static_cast<std::uintptr_t>(12)));
  glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(gVertices.size()));
  glutSwapBuffers();
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2;
  glutInitContextVersion(2, 0);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(100, 100);
  glutCreateWindow("peer_lines");
  glutDisplayFunc(Frame);
  glutIdleFunc(Frame);
  glewInit();

  // Pair k joins point k to point k + 1 of the figure, as the curve's samples are joined.
  const std::size_t points = count / 2 + 1;
  for (std::size_t v = 0; v < count; ++v) {
    const auto [x, y] = bench::FigureAt(static_cast<double>((v + 1) / 2) / static_cast<double>(points));
    gVertices.push_back(Vertex{x, y, -2.0f, 0.6f, 0.4f, 0.8f, 1.0f});
  }
  glGenBuffers(1, &gBuffer);
  const GLuint program = Program();
  glUseProgram(program);
  gPosition = glGetAttribLocation(program, "a_vertex");
  gColor = glGetAttribLocation(program, "a_color");
  // Window pixels from the lower-left corner, depth -1 .. -1000, as Demo's orthographic view.
  const float l = 0, r = 1024, b = 0, t = 768, n = 1, f = 1000;
  const float projection[16] = {2 / (r - l),
                                0,
                                0,
                                0,
                                0,
                                2 / (t - b),
                                0,
                                0,
                                0,
                                0,
                                -2 / (f - n),
                                0,
                                -(r + l) / (r - l),
                                -(t + b) / (t - b),
                                -(f + n) / (f - n),
                                1};
  glUniformMatrix4fv(glGetUniformLocation(program, "u_projection"), 1, GL_FALSE, projection);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_LINE_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glLineWidth(1.0f);
  glutMainLoop();
  return 0;
}
