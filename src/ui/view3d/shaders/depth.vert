#version 330 core
// The shadow map: depth seen from the sun.
layout(location = 0) in vec3 position;
uniform mat4 lightViewProjection;
uniform float exaggeration;
void main() { gl_Position = lightViewProjection * vec4(position.x, position.y * exaggeration, position.z, 1.0); }
