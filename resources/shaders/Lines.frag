// Debug lines and points: the vertex colour, blended by its alpha.
#version 110

varying vec4 v_color;

void main() {
  gl_FragColor = v_color;
}
