// Feeding a built program: mesh matrices and attributes, render settings, releasing attributes.
#include "ShaderProgram.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "GraphicsManager.h"
#include "Mesh.h"
#include "Vertex.h"

namespace {

// Transpose of the inverse of m by cofactors: with columns a, b, c the cofactor columns are
// b x c, c x a and a x b, divided by the determinant a . (b x c). A singular matrix (a scale of
// 0 on some axis) keeps the undivided cofactors, which still point normals the right way,
// instead of filling the matrix with infinities.
mat3 NormalMatrix(const mat3& m) {
  mat3 cofactors(glm::cross(m[1], m[2]), glm::cross(m[2], m[0]), glm::cross(m[0], m[1]));
  const float determinant = glm::dot(m[0], cofactors[0]);
  if (determinant == 0.0f) return cofactors;
  return cofactors * (1.0f / determinant);
}

void PointAttribute(GLint location, GLint size, std::size_t offset) {
  if (location == -1) return;
  glEnableVertexAttribArray(static_cast<GLuint>(location));
  glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE,
                        static_cast<GLsizei>(sizeof(Vertex)),
                        reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset)));
}

void DisableAttribute(GLint location) {
  if (location != -1) glDisableVertexAttribArray(static_cast<GLuint>(location));
}

}  // namespace

ShaderProgram::ShaderProgram() {
  for (GLint* lights : {isActive, type, ambient, diffuse, specular, position, direction, spotInnerAngle,
                        spotOuterAngle, spotFallOff, constAtt, linearAtt, quadAtt}) {
    std::fill(lights, lights + MAX_LIGHTS, -1);
  }
}

void ShaderProgram::BindMesh(Mesh& mesh) {
  const GraphicsManager* graphics = GraphicsManager::Instance();
  const mat4 modelView = graphics->mView * mesh.mModel;
  const mat3 normalMatrix = NormalMatrix(mat3(modelView));

  if (u_modelView != -1) glUniformMatrix4fv(u_modelView, 1, GL_FALSE, &modelView[0][0]);
  if (u_viewInvTranspose != -1) {
    glUniformMatrix3fv(u_viewInvTranspose, 1, GL_FALSE, &normalMatrix[0][0]);
  }
  if (u_projection != -1) {
    glUniformMatrix4fv(u_projection, 1, GL_FALSE, &graphics->mProjection[0][0]);
  }

  glBindBuffer(GL_ARRAY_BUFFER, mesh.mVertexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.mIndexBuffer);
  PointAttribute(a_vertex, 3, offsetof(Vertex, position));
  PointAttribute(a_normal, 3, offsetof(Vertex, normal));
  PointAttribute(a_texCoord, 2, offsetof(Vertex, texCoord));
  PointAttribute(a_tangent, 3, offsetof(Vertex, tangent));
  PointAttribute(a_biTangent, 3, offsetof(Vertex, biTangent));
}

void ShaderProgram::ApplyMaterial(GLuint texture) {
  const GraphicsManager* graphics = GraphicsManager::Instance();
  if (u_isNormalMapped != -1) glUniform1i(u_isNormalMapped, graphics->mIsNormalMapped ? 1 : 0);
  if (u_isTextured != -1) glUniform1i(u_isTextured, graphics->mIsTextured ? 1 : 0);
  if (u_displayMode != -1) glUniform1i(u_displayMode, graphics->mDisplayMode);
  if (u_bumpiness != -1) glUniform1f(u_bumpiness, graphics->mBumpiness);
  if (u_diffuseMap != -1) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(u_diffuseMap, 0);
  }
}

void ShaderProgram::ReleaseAttributes() {
  DisableAttribute(a_vertex);
  DisableAttribute(a_normal);
  DisableAttribute(a_texCoord);
  DisableAttribute(a_tangent);
  DisableAttribute(a_biTangent);
  DisableAttribute(a_color);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}
