// Scene meshes, unlit: the diffuse map when textured, plain white otherwise. Display modes 1 to 3
// show the (optionally normal-mapped) normal, the tangent and the bitangent as colours.
#version 110

uniform sampler2D u_diffuseMap;
uniform sampler2D u_normalMap;
uniform int u_isTextured;
uniform int u_isNormalMapped;
uniform int u_displayMode;
uniform float u_bumpiness;

varying vec2 v_texCoord;
varying vec3 v_normal;
varying vec3 v_tangent;
varying vec3 v_biTangent;

// Zero-length vectors (meshes without normals) stay zero instead of turning into NaN.
vec3 safeNormalize(vec3 v) {
  float len = length(v);
  return len > 0.0 ? v / len : vec3(0.0);
}

void main() {
  vec3 normal = safeNormalize(v_normal);
  vec3 tangent = safeNormalize(v_tangent);
  vec3 biTangent = safeNormalize(v_biTangent);
  if (u_isNormalMapped != 0) {
    vec3 bump = texture2D(u_normalMap, v_texCoord).xyz * 2.0 - 1.0;
    normal = safeNormalize(normal + u_bumpiness * (bump.x * tangent + bump.y * biTangent));
  }

  vec4 base = vec4(1.0);
  if (u_isTextured != 0) base = texture2D(u_diffuseMap, v_texCoord);

  if (u_displayMode == 1) {
    gl_FragColor = vec4(normal * 0.5 + 0.5, 1.0);
  } else if (u_displayMode == 2) {
    gl_FragColor = vec4(tangent * 0.5 + 0.5, 1.0);
  } else if (u_displayMode == 3) {
    gl_FragColor = vec4(biTangent * 0.5 + 0.5, 1.0);
  } else {
    gl_FragColor = base;
  }
}
