// What a built program knows of its names, and what BindMesh, ApplyMaterial and
// ReleaseAttributes feed into it.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "GraphicsTestSupport.h"
#include "Mesh.h"
#include "ShaderLibrary.h"

namespace {

using graphicstest::WriteShader;

// Every mesh attribute and every uploaded uniform, plus three of the eight lights.
const char* const kMeshVert =
    "#version 110\n"
    "attribute vec3 a_vertex;\n"
    "attribute vec3 a_normal;\n"
    "attribute vec2 a_texCoord;\n"
    "attribute vec3 a_tangent;\n"
    "attribute vec3 a_biTangent;\n"
    "uniform mat4 u_projection;\n"
    "uniform mat4 u_modelView;\n"
    "uniform mat3 u_viewInvTranspose;\n"
    "varying vec4 v_color;\n"
    "void main() {\n"
    "  v_color = vec4(u_viewInvTranspose * (a_normal + a_tangent + a_biTangent), a_texCoord.x);\n"
    "  gl_Position = u_projection * u_modelView * vec4(a_vertex, 1.0);\n"
    "}\n";
const char* const kMeshFrag =
    "#version 110\n"
    "struct Light { vec4 diffuse; float spotFallOff; };\n"
    "uniform Light light[3];\n"
    "uniform sampler2D u_diffuseMap;\n"
    "uniform int u_isTextured;\n"
    "uniform int u_isNormalMapped;\n"
    "uniform int u_displayMode;\n"
    "uniform float u_bumpiness;\n"
    "varying vec4 v_color;\n"
    "void main() {\n"
    "  vec4 lights = light[0].diffuse + light[1].diffuse + light[2].diffuse * light[2].spotFallOff;\n"
    "  vec4 c = v_color + lights + texture2D(u_diffuseMap, v_color.xy);\n"
    "  gl_FragColor = c * float(u_isTextured + u_isNormalMapped + u_displayMode) * u_bumpiness;\n"
    "}\n";
const char* const kBareVert = "#version 110\nvoid main() { gl_Position = vec4(0.0); }\n";
const char* const kBareFrag = "#version 110\nvoid main() { gl_FragColor = vec4(1.0); }\n";

class ShaderProgramTest : public testing::Test {
protected:
  void SetUp() override {
    testsupport::EnsureGlContext();
    graphicstest::DrainGlErrors();
    WriteShader(mDir, "Mesh", ".vert", kMeshVert);
    WriteShader(mDir, "Mesh", ".frag", kMeshFrag);
    WriteShader(mDir, "Bare", ".vert", kBareVert);
    WriteShader(mDir, "Bare", ".frag", kBareFrag);
  }
  void TearDown() override {
    mLibrary.UseProgram("");
    GraphicsManager* graphics = GraphicsManager::Instance();
    graphics->mView = mat4(1.0f);
    graphics->mProjection = mat4(1.0f);
    graphics->mIsTextured = true;
    graphics->mDisplayMode = 0;
    graphics->mBumpiness = 1.0f;
    graphicstest::DrainGlErrors();
  }

  testsupport::TempWorkDir mDir;
  ShaderLibrary mLibrary;
};

TEST_F(ShaderProgramTest, LocationsAreLookedUpByName) {
  ShaderProgram* program = mLibrary.UseProgram("Mesh");
  ASSERT_NE(program, nullptr);
  const GLuint id = program->mId;
  auto attribute = [id](const char* name) { return glGetAttribLocation(id, name); };
  auto uniform = [id](const char* name) { return glGetUniformLocation(id, name); };

  const std::pair<GLint, const char*> present[] = {
      {program->a_vertex, "a_vertex"},       {program->a_normal, "a_normal"},
      {program->a_texCoord, "a_texCoord"},   {program->a_tangent, "a_tangent"},
      {program->a_biTangent, "a_biTangent"},
  };
  for (const auto& [location, name] : present) {
    EXPECT_NE(location, -1) << name;
    EXPECT_EQ(location, attribute(name)) << name;
  }
  const std::pair<GLint, const char*> uniforms[] = {
      {program->u_projection, "u_projection"},
      {program->u_modelView, "u_modelView"},
      {program->u_viewInvTranspose, "u_viewInvTranspose"},
      {program->u_diffuseMap, "u_diffuseMap"},
      {program->u_isTextured, "u_isTextured"},
      {program->u_isNormalMapped, "u_isNormalMapped"},
      {program->u_displayMode, "u_displayMode"},
      {program->u_bumpiness, "u_bumpiness"},
      {program->diffuse[0], "light[0].diffuse"},
      {program->diffuse[1], "light[1].diffuse"},
      {program->diffuse[2], "light[2].diffuse"},
      {program->spotFallOff[2], "light[2].spotFallOff"},
  };
  for (const auto& [location, name] : uniforms) {
    EXPECT_NE(location, -1) << name;
    EXPECT_EQ(location, uniform(name)) << name;
  }

  // Names the shader does not declare, and lights beyond its array of three.
  for (GLint absent :
       {program->a_color, program->u_fogColor, program->u_globalAmbient, program->u_emissiveMap,
        program->u_ambientMap, program->u_specularMap, program->u_normalMap}) {
    EXPECT_EQ(absent, -1);
  }
  for (int i = 0; i < MAX_LIGHTS; ++i) {
    for (const GLint* field :
         {program->isActive, program->type, program->ambient, program->specular, program->position,
          program->direction, program->spotInnerAngle, program->spotOuterAngle, program->constAtt,
          program->linearAtt, program->quadAtt}) {
      EXPECT_EQ(field[i], -1) << "light " << i;
    }
    if (i >= 3) {
      EXPECT_EQ(program->diffuse[i], -1) << i;
      EXPECT_EQ(program->spotFallOff[i], -1) << i;
    }
  }
}

// A quad of two triangles with distinct values in every attribute.
Mesh* MakeQuad(const std::string& name) {
  auto* mesh = new Mesh(name);
  for (int i = 0; i < 4; ++i) {
    Vertex v;
    v.position = vec3(static_cast<float>(i & 1) - 0.5f, static_cast<float>(i >> 1) - 0.5f, 0.0f);
    v.normal = vec3(0.0f, 0.0f, 1.0f);
    v.texCoord = vec2(static_cast<float>(i & 1), static_cast<float>(i >> 1));
    v.tangent = vec3(1.0f, 0.0f, 0.0f);
    v.biTangent = vec3(0.0f, 1.0f, 0.0f);
    mesh->mVertices.push_back(v);
  }
  mesh->mIndices = {0, 1, 2, 1, 3, 2};
  mesh->CreateBuffers();
  return mesh;
}

void FreeMesh(Mesh* mesh) {
  glDeleteBuffers(1, &mesh->mVertexBuffer);
  glDeleteBuffers(1, &mesh->mIndexBuffer);
  delete mesh;
}

void ExpectUniform(GLuint program, GLint location, const float* expected, int count) {
  float actual[16] = {};
  glGetUniformfv(program, location, actual);
  for (int i = 0; i < count; ++i) EXPECT_FLOAT_EQ(actual[i], expected[i]) << "element " << i;
}

TEST_F(ShaderProgramTest, BindMeshUploadsMatricesAndPointsTheMeshAttributes) {
  ShaderProgram* program = mLibrary.UseProgram("Mesh");
  ASSERT_NE(program, nullptr);
  Mesh* mesh = MakeQuad("quad-for-binding");
  GraphicsManager* graphics = GraphicsManager::Instance();
  graphics->mView =
      glm::rotate(glm::translate(mat4(1.0f), vec3(3.0f, -2.0f, -7.0f)), 0.6f, vec3(0.0f, 1.0f, 0.0f));
  graphics->mProjection = glm::ortho(0.0f, 1024.0f, 0.0f, 768.0f, 1.0f, 1000.0f);
  mesh->mModel = glm::scale(glm::translate(mat4(1.0f), vec3(10.0f, 20.0f, -30.0f)), vec3(2.0f, 3.0f, 4.0f));

  program->BindMesh(*mesh);

  const mat4 modelView = graphics->mView * mesh->mModel;
  const mat3 normalMatrix = glm::transpose(glm::inverse(mat3(modelView)));
  ExpectUniform(program->mId, program->u_modelView, &modelView[0][0], 16);
  ExpectUniform(program->mId, program->u_viewInvTranspose, &normalMatrix[0][0], 9);
  ExpectUniform(program->mId, program->u_projection, &graphics->mProjection[0][0], 16);

  GLint bound = 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(bound, static_cast<GLint>(mesh->mVertexBuffer));
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(bound, static_cast<GLint>(mesh->mIndexBuffer));

  struct Expected {
    GLint location;
    GLint size;
    std::uintptr_t offset;
  };
  const Expected attributes[] = {{program->a_vertex, 3, 0},
                                 {program->a_normal, 3, 12},
                                 {program->a_texCoord, 2, 24},
                                 {program->a_tangent, 3, 32},
                                 {program->a_biTangent, 3, 44}};
  for (const Expected& e : attributes) {
    SCOPED_TRACE(e.offset);
    const auto index = static_cast<GLuint>(e.location);
    GLint value = 0;
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
    EXPECT_EQ(value, 1);
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
    EXPECT_EQ(value, e.size);
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &value);
    EXPECT_EQ(value, 56);
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
    EXPECT_EQ(value, GL_FLOAT);
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &value);
    EXPECT_EQ(value, GL_FALSE);
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
    EXPECT_EQ(value, static_cast<GLint>(mesh->mVertexBuffer));
    void* pointer = nullptr;
    glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pointer), e.offset);
  }

  program->ReleaseAttributes();
  for (const Expected& e : attributes) {
    GLint enabled = 1;
    glGetVertexAttribiv(static_cast<GLuint>(e.location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0) << e.offset;
  }
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  FreeMesh(mesh);
}

TEST_F(ShaderProgramTest, FlattenedMeshGetsAFiniteNormalMatrix) {
  ShaderProgram* program = mLibrary.UseProgram("Mesh");
  ASSERT_NE(program, nullptr);
  Mesh* mesh = MakeQuad("quad-flattened");
  mesh->mModel = glm::scale(mat4(1.0f), vec3(0.0f, 0.0f, 0.0f));  // like the light markers
  program->BindMesh(*mesh);
  float normalMatrix[9] = {};
  glGetUniformfv(program->mId, program->u_viewInvTranspose, normalMatrix);
  for (float element : normalMatrix) EXPECT_TRUE(std::isfinite(element));
  program->ReleaseAttributes();
  FreeMesh(mesh);
}

TEST_F(ShaderProgramTest, ApplyMaterialSendsTheManagersSettingsAndBindsUnitZero) {
  ShaderProgram* program = mLibrary.UseProgram("Mesh");
  ASSERT_NE(program, nullptr);
  GraphicsManager* graphics = GraphicsManager::Instance();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glActiveTexture(GL_TEXTURE3);

  struct Settings {
    bool textured;
    bool normalMapped;
    int displayMode;
    float bumpiness;
  };
  for (const Settings& s : {Settings{true, false, 0, 1.0f}, Settings{false, true, 2, 0.25f}}) {
    graphics->mIsTextured = s.textured;
    graphics->mIsNormalMapped = s.normalMapped;
    graphics->mDisplayMode = s.displayMode;
    graphics->mBumpiness = s.bumpiness;
    program->ApplyMaterial(texture);

    GLint value = -1;
    glGetUniformiv(program->mId, program->u_isTextured, &value);
    EXPECT_EQ(value, s.textured ? 1 : 0);
    glGetUniformiv(program->mId, program->u_isNormalMapped, &value);
    EXPECT_EQ(value, s.normalMapped ? 1 : 0);
    glGetUniformiv(program->mId, program->u_displayMode, &value);
    EXPECT_EQ(value, s.displayMode);
    glGetUniformiv(program->mId, program->u_diffuseMap, &value);
    EXPECT_EQ(value, 0);
    float bumpiness = 0.0f;
    glGetUniformfv(program->mId, program->u_bumpiness, &bumpiness);
    EXPECT_FLOAT_EQ(bumpiness, s.bumpiness);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, static_cast<GLint>(texture));
  }
  graphics->mIsNormalMapped = false;

  // Texture 0 unbinds the diffuse map.
  program->ApplyMaterial(0);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  glDeleteTextures(1, &texture);
}

TEST_F(ShaderProgramTest, ProgramWithoutAnyKnownNameStillBindsAndDraws) {
  ShaderProgram* program = mLibrary.UseProgram("Bare");
  ASSERT_NE(program, nullptr);
  for (GLint location :
       {program->a_vertex, program->a_normal, program->a_texCoord, program->a_tangent, program->a_biTangent,
        program->a_color, program->u_projection, program->u_modelView, program->u_viewInvTranspose,
        program->u_diffuseMap, program->u_isTextured, program->u_displayMode, program->u_bumpiness}) {
    EXPECT_EQ(location, -1);
  }
  Mesh* mesh = MakeQuad("quad-bare");
  program->ApplyMaterial(0);
  program->BindMesh(*mesh);
  glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
  GLint bound = 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(bound, static_cast<GLint>(mesh->mVertexBuffer));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  program->ReleaseAttributes();
  FreeMesh(mesh);
}

}  // namespace
