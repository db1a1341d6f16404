#version 330 core
in float vFog;  // the share of the colour the air leaves
in vec3 vNormal;
in vec2 vUv;
in vec3 vColor;
flat in int vLayer;
in vec4 vShadow;
uniform sampler2DArray surfaces;
uniform float tileMetres[128];  // the ground one image of each layer covers
// TEXTURED and SHADOWED are defined (or not) as the program is built, so that a
// frame pays only for what it draws.
uniform sampler2DShadow shadowMap;
uniform vec3 sun;         // towards the sun
uniform vec3 sunColor;
uniform vec3 skyLight, groundLight;  // the ambient light from above and from below
uniform vec3 fogColor;
uniform vec4 tint;         // a colour mixed in (the selection), by its alpha
out vec4 fragColor;
void main() {
  vec3 n = normalize(vNormal);
  if (!gl_FrontFacing) n = -n;
#ifdef TEXTURED
  // Layer 127: a colour of its own (the far track's, drawn as one strip).
  vec3 albedo = vLayer == 127 ? vColor : texture(surfaces, vec3(vUv / tileMetres[vLayer], float(vLayer))).rgb;
#else
  vec3 albedo = vColor;
#endif
  albedo = mix(albedo, tint.rgb, tint.a);
  float light = 1.0;
#ifdef SHADOWED
  vec3 s = vShadow.xyz / vShadow.w;
  if (s.x > 0.0 && s.x < 1.0 && s.y > 0.0 && s.y < 1.0 && s.z < 1.0) light = texture(shadowMap, s);
#endif
  vec3 ambient = mix(groundLight, skyLight, 0.5 + 0.5 * n.y);
  vec3 c = albedo * (ambient + sunColor * max(dot(n, sun), 0.0) * light);
  fragColor = vec4(mix(fogColor, c, vFog), 1.0);
}
