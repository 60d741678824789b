// Scene meshes: model-view and projection for the position, the normal matrix for the frame.
#version 110

attribute vec3 a_vertex;
attribute vec3 a_normal;
attribute vec2 a_texCoord;
attribute vec3 a_tangent;
attribute vec3 a_biTangent;

uniform mat4 u_projection;
uniform mat4 u_modelView;
uniform mat3 u_viewInvTranspose;

varying vec2 v_texCoord;
varying vec3 v_normal;
varying vec3 v_tangent;
varying vec3 v_biTangent;

void main() {
  v_texCoord = a_texCoord;
  v_normal = u_viewInvTranspose * a_normal;
  v_tangent = u_viewInvTranspose * a_tangent;
  v_biTangent = u_viewInvTranspose * a_biTangent;
  gl_Position = u_projection * u_modelView * vec4(a_vertex, 1.0);
}
