#version 330 core
// Lines and ribbons of one colour (the grid, the selection's outline), heights
// stretched like the surface's.
layout(location = 0) in vec3 position;
uniform mat4 viewProjection;
uniform float exaggeration;
out vec3 vWorld;
void main() {
  vWorld = vec3(position.x, position.y * exaggeration, position.z);
  gl_Position = viewProjection * vec4(vWorld, 1.0);
}
