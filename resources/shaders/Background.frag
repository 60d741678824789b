// The image under the editor's frame, at its opacity, blended over the cleared window.
#version 110

uniform sampler2D u_diffuseMap;

varying vec2 v_texCoord;
varying vec4 v_color;

void main() {
  gl_FragColor = texture2D(u_diffuseMap, v_texCoord) * v_color;
}
