#version 330 core
in vec3 direction;
uniform vec3 horizon;  // the fog's colour
uniform vec3 zenith;
uniform vec3 below;
out vec4 fragColor;
void main() {
  vec3 d = normalize(direction);
  vec3 c = d.y >= 0.0 ? mix(horizon, zenith, pow(d.y, 0.6)) : mix(horizon, below, clamp(-d.y * 8.0, 0.0, 1.0));
  fragColor = vec4(c, 1.0);
}
