// The image under the editor's frame: window-pixel corners through the projection, the image's
// coordinates and the opacity (in the colour's alpha) passed on.
#version 110

attribute vec3 a_vertex;
attribute vec2 a_texCoord;
attribute vec4 a_color;

uniform mat4 u_projection;

varying vec2 v_texCoord;
varying vec4 v_color;

void main() {
  v_texCoord = a_texCoord;
  v_color = a_color;
  gl_Position = u_projection * vec4(a_vertex, 1.0);
}
