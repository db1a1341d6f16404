#version 330 core
// One triangle over the whole window, behind everything (depth 1): each pixel
// gets the colour of the sky in its direction. The direction is linear in the
// window's coordinates before it is normalised, so it is made at the corners.
uniform mat4 inverseViewProjection;
uniform vec3 eye;
out vec3 direction;
void main() {
  vec2 ndc = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
  vec4 far = inverseViewProjection * vec4(ndc, 1.0, 1.0);
  direction = far.xyz - eye * far.w;
  gl_Position = vec4(ndc, 1.0, 1.0);
}
