#pragma once
// A track mesh as a glTF 2.0 asset: one scene with a node "Section N" per section
// that has a mesh, each node with a mesh of its own holding one primitive per
// material, and one material per surface code used (and per kind of barrier),
// named after the surface. Each material's base colour is its surface's texture,
// a PNG image embedded in the buffer (one image and texture for each texture,
// shared by every material and section that uses it; one sampler that repeats
// them); its texture coordinates are metres, which the material scales by the
// texture's size on the ground (KHR_texture_transform). Without textures, each
// material is coloured as the plan view paints it. The sections' vertices share
// one interleaved buffer view (position, normal, UV: 32 bytes each) and their
// indices another; a section's indices are 16-bit unless it has more vertices
// than those can number. Every accessor carries its min and max.
//
//   std::string error;
//   if (!WriteGltf(BuildTrackMesh(track), "circuit.glb", &error)) std::cerr << error << '\n';
//
// "OUT.glb" is one binary file; "OUT.gltf" is JSON text with its buffer in
// "OUT.bin" beside it. Each file is replaced safely: a failure leaves the old one.
#include <cstdint>
#include <string>
#include <vector>

namespace meridal {

struct TTrackMesh;

enum class GltfForm { Binary, Text };

struct TGltfOptions {
  bool textures = true;  // false: plain colours, for small files
};

// The form a file name asks for: ".glb" or ".gltf" (any case); false for any other.
bool GltfFormOfPath(const std::string& path, GltfForm& form);

// The bytes of a .glb file.
std::vector<uint8_t> GltfBinaryImage(const TTrackMesh& mesh, const TGltfOptions& options = {});

// The JSON text of a .gltf file whose buffer is the file `binUri`, and the bytes
// of that buffer.
struct TGltfTextImage {
  std::string json;
  std::vector<uint8_t> buffer;
};
TGltfTextImage GltfTextImage(const TTrackMesh& mesh, const std::string& binUri, const TGltfOptions& options = {});

// Writes the mesh in the form the path's extension asks for; false with `error`
// set when the path names no glTF form, the mesh is empty, or a file cannot be written.
bool WriteGltf(const TTrackMesh& mesh, const std::string& path, std::string* error,
               const TGltfOptions& options = {});

}  // namespace meridal
