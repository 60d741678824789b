// One linked GLSL program and the locations of the attribute and uniform names it may declare.
#pragma once

#include <string>

#include "GLHandle.h"
#include "LightSet.h"

class Mesh;

typedef int GLint;  // the same type GL/gl.h declares

class ShaderProgram {
public:
  // Builds the program from "../resources/shaders/" + name + ".vert" / ".frag"; false on failure,
  // with mId back at 0 and the reasons printed.
  bool LoadProgram(const std::string& name);

  // Uploads the matrices for one mesh, binds its buffers and points the mesh attributes into them.
  void BindMesh(Mesh& mesh);
  // Uploads the render settings and binds texture (0 = none) as the diffuse map on unit 0.
  void ApplyMaterial(GLuint texture);
  // Disables this program's attribute arrays and unbinds the array and element buffers.
  void ReleaseAttributes();

  // Attribute locations; -1 when the program does not expose the name.
  GLint a_vertex = -1;
  GLint a_normal = -1;
  GLint a_texCoord = -1;
  GLint a_tangent = -1;
  GLint a_biTangent = -1;
  GLint a_color = -1;

  GLint u_projection = -1;
  GLint u_modelView = -1;
  GLint u_viewInvTranspose = -1;
  GLint u_fogColor = -1;
  GLint u_globalAmbient = -1;

  // Entry i is the location of "light[i].<field>"; looked up, never written.
  GLint isActive[MAX_LIGHTS];
  GLint type[MAX_LIGHTS];
  GLint ambient[MAX_LIGHTS];
  GLint diffuse[MAX_LIGHTS];
  GLint specular[MAX_LIGHTS];
  GLint position[MAX_LIGHTS];
  GLint direction[MAX_LIGHTS];
  GLint spotInnerAngle[MAX_LIGHTS];
  GLint spotOuterAngle[MAX_LIGHTS];
  GLint spotFallOff[MAX_LIGHTS];
  GLint constAtt[MAX_LIGHTS];
  GLint linearAtt[MAX_LIGHTS];
  GLint quadAtt[MAX_LIGHTS];

  GLint u_isNormalMapped = -1;
  GLint u_isTextured = -1;
  GLint u_diffuseMap = -1;
  GLint u_emissiveMap = -1;
  GLint u_specularMap = -1;
  GLint u_ambientMap = -1;
  GLint u_normalMap = -1;
  GLint u_displayMode = -1;
  GLint u_bumpiness = -1;

  std::string mName;
  GLuint mId = 0;

  ShaderProgram();

private:
  void LookUpLocations();
};

// Compiles one stage of program `name`; 0 when it does not compile (the reasons are printed).
GLuint CompileShader(unsigned int type, const std::string& name);

// Print the info log of a shader or program object, or say that the id names no such object.
void PrintShaderInfoLog(GLuint shader);
void PrintProgramInfoLog(GLuint program);
