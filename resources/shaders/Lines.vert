// Debug lines and points: window-pixel positions through the orthographic projection alone.
#version 110

attribute vec3 a_vertex;
attribute vec4 a_color;

uniform mat4 u_projection;

varying vec4 v_color;

void main() {
  v_color = a_color;
  gl_Position = u_projection * vec4(a_vertex, 1.0);
}
