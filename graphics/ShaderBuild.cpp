// Building one program: compiling its two stages, linking, reporting failures, finding locations.
#include <GL/glew.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "GraphicsManager.h"
#include "ShaderProgram.h"

namespace {

const char* const kShaderFolder = "../resources/shaders/";

// The light record's fields as the shader's light[i] struct names them, in location-array order.
struct LightField {
  const char* name;
  GLint (ShaderProgram::*locations)[MAX_LIGHTS];
};

}  // namespace

bool ShaderProgram::LoadProgram(const std::string& name) {
  GraphicsManager* graphics = GraphicsManager::Instance();
  graphics->CheckGLError();  // report what earlier work left behind, not blame it on this build

  mId = glCreateProgram();
  // Both stages are compiled so that one attempt reports every broken file.
  GLuint vertex = CompileShader(GL_VERTEX_SHADER, name);
  GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, name);
  if (vertex == 0 || fragment == 0) {
    if (vertex != 0) glDeleteShader(vertex);
    if (fragment != 0) glDeleteShader(fragment);
    glDeleteProgram(mId);
    mId = 0;
    return false;
  }

  glAttachShader(mId, vertex);
  glAttachShader(mId, fragment);
  glLinkProgram(mId);
  // Attached stages live on with the program; flagged now, they go when the program is deleted.
  glDeleteShader(vertex);
  glDeleteShader(fragment);

  GLint linked = GL_FALSE;
  glGetProgramiv(mId, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    std::cout << "error in linking program: " << mId << std::endl;
    PrintProgramInfoLog(mId);
    glDeleteProgram(mId);
    mId = 0;
    return false;
  }

  graphics->CheckGLError();
  LookUpLocations();
  mName = name;
  return true;
}

void ShaderProgram::LookUpLocations() {
  a_vertex = glGetAttribLocation(mId, "a_vertex");
  a_normal = glGetAttribLocation(mId, "a_normal");
  a_texCoord = glGetAttribLocation(mId, "a_texCoord");
  a_tangent = glGetAttribLocation(mId, "a_tangent");
  a_biTangent = glGetAttribLocation(mId, "a_biTangent");
  a_color = glGetAttribLocation(mId, "a_color");

  u_projection = glGetUniformLocation(mId, "u_projection");
  u_modelView = glGetUniformLocation(mId, "u_modelView");
  u_viewInvTranspose = glGetUniformLocation(mId, "u_viewInvTranspose");
  u_emissiveMap = glGetUniformLocation(mId, "u_emissiveMap");
  u_ambientMap = glGetUniformLocation(mId, "u_ambientMap");
  u_diffuseMap = glGetUniformLocation(mId, "u_diffuseMap");
  u_specularMap = glGetUniformLocation(mId, "u_specularMap");
  u_normalMap = glGetUniformLocation(mId, "u_normalMap");
  u_isTextured = glGetUniformLocation(mId, "u_isTextured");
  u_isNormalMapped = glGetUniformLocation(mId, "u_isNormalMapped");
  u_displayMode = glGetUniformLocation(mId, "u_displayMode");
  u_bumpiness = glGetUniformLocation(mId, "u_bumpiness");
  u_fogColor = glGetUniformLocation(mId, "u_fogColor");
  u_globalAmbient = glGetUniformLocation(mId, "u_globalAmbient");

  static const LightField kLightFields[] = {
      {"isActive", &ShaderProgram::isActive},
      {"type", &ShaderProgram::type},
      {"ambient", &ShaderProgram::ambient},
      {"diffuse", &ShaderProgram::diffuse},
      {"specular", &ShaderProgram::specular},
      {"position", &ShaderProgram::position},
      {"direction", &ShaderProgram::direction},
      {"spotInnerAngle", &ShaderProgram::spotInnerAngle},
      {"spotOuterAngle", &ShaderProgram::spotOuterAngle},
      {"spotFallOff", &ShaderProgram::spotFallOff},
      {"constAtt", &ShaderProgram::constAtt},
      {"linearAtt", &ShaderProgram::linearAtt},
      {"quadAtt", &ShaderProgram::quadAtt},
  };
  for (int i = 0; i < MAX_LIGHTS; ++i) {
    const std::string prefix = "light[" + std::to_string(i) + "].";
    for (const LightField& field : kLightFields) {
      (this->*field.locations)[i] = glGetUniformLocation(mId, (prefix + field.name).c_str());
    }
  }
}

GLuint CompileShader(unsigned int type, const std::string& name) {
  GLuint shader = glCreateShader(type);
  const std::string path = kShaderFolder + name + (type == GL_VERTEX_SHADER ? ".vert" : ".frag");

  // A file that cannot be opened is compiled as an empty source; the compiler then says why.
  std::string source;
  std::ifstream file(path);
  if (!file) {
    std::cout << "error in opening shader file: " << path << std::endl;
  } else {
    std::ostringstream text;
    text << file.rdbuf();
    source = text.str();
  }

  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);

  GLint compiled = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == 0) {
    std::cout << "error in compiling shader source " << shader << ": " << path << std::endl;
    PrintShaderInfoLog(shader);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

void PrintShaderInfoLog(GLuint shader) {
  if (glIsShader(shader) != GL_TRUE) {
    std::cout << "Name " << shader << " is not a shader" << std::endl;
    return;
  }
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(length > 0 ? static_cast<size_t>(length) : 1u);
  GLsizei written = 0;
  glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), &written, log.data());
  if (written > 0) std::cout << std::string(log.data(), static_cast<size_t>(written)) << std::endl;
}

void PrintProgramInfoLog(GLuint program) {
  if (glIsProgram(program) != GL_TRUE) {
    std::cout << "Name " << program << " is not a program" << std::endl;
    return;
  }
  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(length > 0 ? static_cast<size_t>(length) : 1u);
  GLsizei written = 0;
  glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), &written, log.data());
  if (written > 0) std::cout << std::string(log.data(), static_cast<size_t>(written)) << std::endl;
}
