#version 330 core
in vec3 vWorld;
uniform vec4 color;
uniform vec3 eye;
uniform float fadeFrom, fadeTo;  // metres from the eye: whole before, gone after
out vec4 fragColor;
void main() {
  float fade = 1.0 - smoothstep(fadeFrom, fadeTo, length(vWorld - eye));
  if (fade <= 0.0) discard;
  fragColor = vec4(color.rgb, color.a * fade);
}
