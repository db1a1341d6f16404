#version 330 core
// The track's surface, its barriers, the start line and the ground: lit by the
// sun and the sky, textured in metres, fogged with distance.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in float section;
layout(location = 4) in vec4 colorAndLayer;  // the plan's colour; the texture layer (+128: no offset along)
uniform mat4 viewProjection;
uniform mat4 lightViewProjection;  // into the shadow map's [0, 1]
uniform float exaggeration;
uniform samplerBuffer alongOffsets;  // per section: metres added along, so that textures run on
uniform vec3 eye;
uniform float fogDensity;  // per metre
out float vFog;
out vec3 vNormal;
out vec2 vUv;
out vec3 vColor;
flat out int vLayer;
out vec4 vShadow;
void main() {
  vec3 p = vec3(position.x, position.y * exaggeration, position.z);
  // Heights stretched: the normals lean the other way.
  vNormal = vec3(normal.x * exaggeration, normal.y, normal.z * exaggeration);
  int layer = int(colorAndLayer.a * 255.0 + 0.5);
  float offset = 0.0;
  if (layer < 128 && section >= 0.0) offset = texelFetch(alongOffsets, int(section)).r;
  vLayer = layer & 127;
  vUv = vec2(uv.x + offset, uv.y);
  vColor = colorAndLayer.rgb;
  float d = length(p - eye) * fogDensity;
  vFog = exp(-d * d);
  vShadow = lightViewProjection * vec4(p, 1.0);
  gl_Position = viewProjection * vec4(p, 1.0);
}
