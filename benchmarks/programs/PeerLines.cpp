// peer_lines N [IMAGE]: a minimal freeglut program that draws N line vertices per frame in one
// draw call, frame after frame: the vertices uploaded once per frame as Demo's line batch is (28
// bytes each, position and colour), one shader, 1-pixel smooth blended lines, no depth test.
// The lines follow the same figure as the benchmark paths, so they cover alike. Given an image
// file, each frame first draws it as Demo draws a background: decoded with SOIL into a texture
// of its size with mipmaps, stretched over the 700 x 400 frame as one textured quad of four vertices uploaded
// that frame, at opacity 0.5, blended, sampled pixel by pixel as Demo samples an image of the
// frame's size at the view 1x.
#include <GL/glew.h>  // before any other GL header

#include <GL/freeglut.h>
#include <SOIL/SOIL.h>

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
GLuint gProgram = 0;
GLint gPosition = -1, gColor = -1;

// The background: its texture (0: none), program, buffer and attribute locations.
struct QuadVertex {
  float x, y, z, s, t, r, g, b, a;
};
GLuint gTexture = 0, gQuadProgram = 0, gQuadBuffer = 0;
GLint gQuadPosition = -1, gQuadTexCoord = -1, gQuadColor = -1;

const char* const kVertexShader =
    "#version 110\n"
    "attribute vec3 a_vertex;\nattribute vec4 a_color;\nuniform mat4 u_projection;\n"
    "varying vec4 v_color;\n"
    "void main() { v_color = a_color; gl_Position = u_projection * vec4(a_vertex, 1.0); }\n";
const char* const kFragmentShader =
    "#version 110\nvarying vec4 v_color;\nvoid main() { gl_FragColor = v_color; }\n";
const char* const kQuadVertexShader =
    "#version 110\n"
    "attribute vec3 a_vertex;\nattribute vec2 a_texCoord;\nattribute vec4 a_color;\n"
    "uniform mat4 u_projection;\nvarying vec2 v_texCoord;\nvarying vec4 v_color;\n"
    "void main() { v_texCoord = a_texCoord; v_color = a_color;\n"
    "  gl_Position = u_projection * vec4(a_vertex, 1.0); }\n";
const char* const kQuadFragmentShader =
    "#version 110\nuniform sampler2D u_diffuseMap;\nvarying vec2 v_texCoord;\nvarying vec4 v_color;\n"
    "void main() { gl_FragColor = texture2D(u_diffuseMap, v_texCoord) * v_color; }\n";

GLuint Program(const char* vertexShader, const char* fragmentShader) {
  const GLuint program = glCreateProgram();
  for (const auto& [type, source] :
       {std::pair{GL_VERTEX_SHADER, vertexShader}, std::pair{GL_FRAGMENT_SHADER, fragmentShader}}) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    glAttachShader(program, shader);
  }
  glLinkProgram(program);
  return program;
}

void DrawBackground() {
  constexpr float l = 262, r = 962, b = 184, t = 584, a = 0.5f;
  const QuadVertex quad[4] = {{l, b, -2, 0, 1, 1, 1, 1, a},
                              {r, b, -2, 1, 1, 1, 1, 1, a},
                              {l, t, -2, 0, 0, 1, 1, 1, a},
                              {r, t, -2, 1, 0, 1, 1, 1, a}};
  glUseProgram(gQuadProgram);
  glBindTexture(GL_TEXTURE_2D, gTexture);
  glBindBuffer(GL_ARRAY_BUFFER, gQuadBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
  const auto point = [](GLint location, GLint size, std::uintptr_t offset) {
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, sizeof(QuadVertex),
                          reinterpret_cast<const void*>(offset));
  };
  point(gQuadPosition, 3, 0);
  point(gQuadTexCoord, 2, 12);
  point(gQuadColor, 4, 20);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  for (GLint location : {gQuadPosition, gQuadTexCoord, gQuadColor})
    glDisableVertexAttribArray(static_cast<GLuint>(location));
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(gProgram);
}

void Frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (gTexture != 0) DrawBackground();
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
  gProgram = Program(kVertexShader, kFragmentShader);
  const GLuint program = gProgram;
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
  if (argc > 2) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = SOIL_load_image(argv[2], &width, &height, &channels, SOIL_LOAD_RGBA);
    if (pixels == nullptr) return 1;
    glGenTextures(1, &gTexture);
    glBindTexture(GL_TEXTURE_2D, gTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    SOIL_free_image_data(pixels);
    // As Demo samples an image shown at its size: pixel by pixel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    gQuadProgram = Program(kQuadVertexShader, kQuadFragmentShader);
    glUseProgram(gQuadProgram);
    gQuadPosition = glGetAttribLocation(gQuadProgram, "a_vertex");
    gQuadTexCoord = glGetAttribLocation(gQuadProgram, "a_texCoord");
    gQuadColor = glGetAttribLocation(gQuadProgram, "a_color");
    glUniformMatrix4fv(glGetUniformLocation(gQuadProgram, "u_projection"), 1, GL_FALSE, projection);
    glUniform1i(glGetUniformLocation(gQuadProgram, "u_diffuseMap"), 0);
    glGenBuffers(1, &gQuadBuffer);
    glUseProgram(program);
  }
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_LINE_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glLineWidth(1.0f);
  glutMainLoop();
  return 0;
}
