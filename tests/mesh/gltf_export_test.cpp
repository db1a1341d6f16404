#include "mesh/gltf_export.h"

#include <gtest/gtest.h>
#include "mesh/gltf_library.h"

#include <filesystem>
#include <set>

#include "mesh/track_mesh.h"
#include "mesh_test_support.h"
#include "mesh/surface_textures.h"
#include "support/gltf_accessor_check.h"
#include "support/gltf_images.h"

namespace meridal::testing {
namespace {

namespace fs = std::filesystem;

// The files go where the validator's test looks for them.
std::string MeshPath(const std::string& name) {
  fs::create_directories(MERIDAL_TEST_MESH_DIR);
  return (fs::path(MERIDAL_TEST_MESH_DIR) / name).string();
}

tinygltf::Model Load(const std::string& path) {
  tinygltf::TinyGLTF loader = GltfLoader();
  tinygltf::Model model;
  std::string error, warning;
  const bool binary = path.ends_with(".glb");
  const bool ok = binary ? loader.LoadBinaryFromFile(&model, &error, &warning, path)
                         : loader.LoadASCIIFromFile(&model, &error, &warning, path);
  EXPECT_TRUE(ok) << error << warning;
  return model;
}

std::vector<float> AsFloats(const std::vector<double>& values) { return {values.begin(), values.end()}; }

tinygltf::Model WriteAndLoad(const TTrackMesh& mesh, const std::string& name) {
  std::string error;
  EXPECT_TRUE(WriteGltf(mesh, MeshPath(name), &error)) << error;
  return Load(MeshPath(name));
}

// One node and one mesh per section, named "Section N"; one material per surface
// used (and per kind of barrier), named after it; every accessor with its bounds,
// every buffer view of the mesh with its target.
TEST(GltfFiles, NodesAreSectionsAndMaterialsAreSurfaces) {
  auto track = ExampleCircuit();
  const tinygltf::Model model = WriteAndLoad(BuildTrackMesh(*track), "circuit.glb");
  ASSERT_EQ(model.scenes.size(), 1u);
  ASSERT_EQ(model.scenes[0].nodes.size(), 10u);
  std::vector<std::string> names;
  for (const tinygltf::Material& m : model.materials) names.push_back(m.name);
  // Codes 1, 3, 4 and 6, 4 marked on section 6, and the 1 m step of section 2,
  // which stands as a concrete wall.
  EXPECT_EQ(names, (std::vector<std::string>{"Tarmac", "Curbs", "Grass", "Gravel", "Grass (2052)", "Concrete Wall"}));
  for (int s = 0; s < 10; ++s) {
    const tinygltf::Node& node = model.nodes[size_t(model.scenes[0].nodes[size_t(s)])];
    EXPECT_EQ(node.name, "Section " + std::to_string(s));
    const tinygltf::Mesh& mesh = model.meshes[size_t(node.mesh)];
    EXPECT_EQ(mesh.name, node.name);
    std::set<std::string> strips, materials;
    const TSection& section = *track->Section(s);
    for (int k = 0; k + 1 < section.NumberOfWalls(); ++k)
      strips.insert(MaterialName({FaceOfStrip(*section.Wall(k), *section.Wall(k + 1)), section.Wall(k)->Surface}));
    for (const tinygltf::Primitive& p : mesh.primitives) {
      EXPECT_TRUE(materials.insert(model.materials[size_t(p.material)].name).second) << "one primitive per material";
      EXPECT_EQ(model.accessors[size_t(p.indices)].componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
    }
    EXPECT_EQ(materials, strips) << s;
  }
  for (const tinygltf::Accessor& a : model.accessors) {
    EXPECT_FALSE(a.minValues.empty());
    EXPECT_EQ(a.minValues.size(), a.maxValues.size());
  }
  ASSERT_GE(model.bufferViews.size(), 2u);
  EXPECT_EQ(model.bufferViews[0].target, TINYGLTF_TARGET_ARRAY_BUFFER);
  EXPECT_EQ(model.bufferViews[1].target, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
}

// Each material shows its texture as a glTF reader (Blender's among them) takes
// it: a base colour texture with a sampler that repeats it, mipmapped, and a PNG
// image in the file that holds the very pixels the 3D view draws; metres scaled
// by the texture's size on the ground. Surfaces that share a texture share its
// image. Without textures, the materials keep the plan's colours and the file
// holds no image.
TEST(GltfFiles, MaterialsCarryTheirSurfacesTexturesAsEmbeddedPngs) {
  auto track = ExampleCircuit();
  track->Section(0)->Wall(2)->Surface = 8;  // two codes without a name
  track->Section(1)->Wall(2)->Surface = 9;
  const TTrackMesh mesh = BuildTrackMesh(*track);
  const tinygltf::Model model = WriteAndLoad(mesh, "textured.glb");
  ASSERT_EQ(model.materials.size(), 8u);  // Tarmac, Curbs, Grass, Gravel, Surface 8, 9, Grass (2052), Concrete Wall
  ASSERT_EQ(model.samplers.size(), 1u);
  EXPECT_EQ(model.samplers[0].minFilter, TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(model.samplers[0].wrapS, TINYGLTF_TEXTURE_WRAP_REPEAT);
  EXPECT_EQ(model.samplers[0].wrapT, TINYGLTF_TEXTURE_WRAP_REPEAT);
  EXPECT_EQ(model.extensionsUsed, std::vector<std::string>{"KHR_texture_transform"});
  EXPECT_EQ(model.textures.size(), 7u);  // the two unnamed codes share the neutral texture
  EXPECT_EQ(model.images.size(), 7u);
  const std::vector<TMaterial> used = mesh.MaterialsUsed();
  for (size_t i = 0; i < model.materials.size(); ++i) {
    SCOPED_TRACE(model.materials[i].name);
    const auto& pbr = model.materials[i].pbrMetallicRoughness;
    EXPECT_EQ(pbr.baseColorFactor, (std::vector<double>{1, 1, 1, 1}));
    ASSERT_GE(pbr.baseColorTexture.index, 0);
    const tinygltf::Texture& texture = model.textures[size_t(pbr.baseColorTexture.index)];
    EXPECT_EQ(texture.sampler, 0);
    const tinygltf::Image& image = model.images[size_t(texture.source)];
    EXPECT_EQ(image.mimeType, "image/png");
    EXPECT_GE(image.bufferView, 2);
    const TTexture kind = MaterialTexture(used[i]);
    const double scale = pbr.baseColorTexture.extensions.at("KHR_texture_transform").Get("scale").Get(0).Get<double>();
    EXPECT_EQ(scale, 1 / TextureMetres(kind));
    const TDecodedPng png = DecodePng(image.image);
    const TTextureImage& drawn = TSurfaceTextures::Shared().Image(kind, MaterialMarked(used[i]));
    ASSERT_EQ(png.width, drawn.size);
    ASSERT_EQ(png.height, drawn.size);
    for (int y = 0; y < drawn.size; y += 37)
      for (int x = 0; x < drawn.size; x += 11)
        ASSERT_EQ(std::vector<uint8_t>(drawn.Pixel(x, y), drawn.Pixel(x, y) + 3),
                  std::vector<uint8_t>(png.rgb.begin() + (y * png.width + x) * 3,
                                       png.rgb.begin() + (y * png.width + x) * 3 + 3))
            << x << ", " << y;
  }
  EXPECT_EQ(model.materials[4].pbrMetallicRoughness.baseColorTexture.index,
            model.materials[5].pbrMetallicRoughness.baseColorTexture.index);

  const tinygltf::Model plain = [&] {
    std::string error;
    EXPECT_TRUE(WriteGltf(mesh, MeshPath("plain.glb"), &error, TGltfOptions{false})) << error;
    return Load(MeshPath("plain.glb"));
  }();
  EXPECT_TRUE(plain.images.empty() && plain.textures.empty() && plain.samplers.empty());
  EXPECT_EQ(plain.bufferViews.size(), 2u);
  EXPECT_EQ(plain.materials[2].pbrMetallicRoughness.baseColorFactor,
            (std::vector<double>{0.0, 0.21586050093173981, 0.0, 1.0}));  // the plan's green, 0 128 0, in linear light
  EXPECT_EQ(plain.materials[2].pbrMetallicRoughness.baseColorTexture.index, -1);
}

// A .gltf (with its .bin beside it, the name written as a URI) and a .glb of the
// same track hold the same mesh.
TEST(GltfFiles, BinaryAndTextHoldTheSameMesh) {
  auto track = ExampleCircuit();
  GiveHills(*track);
  const TTrackMesh mesh = BuildTrackMesh(*track);
  const tinygltf::Model binary = WriteAndLoad(mesh, "hills.glb");
  const tinygltf::Model text = WriteAndLoad(mesh, "hills and text.gltf");
  EXPECT_TRUE(fs::exists(MeshPath("hills and text.bin")));
  EXPECT_EQ(text.buffers[0].uri, "hills%20and%20text.bin");
  EXPECT_EQ(text.buffers[0].data, binary.buffers[0].data);
  ASSERT_EQ(text.accessors.size(), binary.accessors.size());
  for (size_t i = 0; i < text.accessors.size(); ++i) {
    const tinygltf::Accessor &a = text.accessors[i], &b = binary.accessors[i];
    EXPECT_EQ(std::tie(a.bufferView, a.byteOffset, a.componentType, a.count, a.type),
              std::tie(b.bufferView, b.byteOffset, b.componentType, b.count, b.type));
    // The bounds are the data's floats; the JSON reader may differ from them in
    // the last bits of a double.
    EXPECT_EQ(AsFloats(a.minValues), AsFloats(b.minValues));
    EXPECT_EQ(AsFloats(a.maxValues), AsFloats(b.maxValues));
  }
  ASSERT_EQ(text.meshes.size(), binary.meshes.size());
  for (size_t m = 0; m < text.meshes.size(); ++m) EXPECT_TRUE(text.meshes[m] == binary.meshes[m]);
  EXPECT_TRUE(text.nodes == binary.nodes);
  EXPECT_TRUE(text.materials == binary.materials);
}

// Raised strips; and a section with more vertices than 16 bits number gets 32-bit
// indices, the others keep 16.
TEST(GltfFiles, RaisedStripsAndLargeSectionsAreWritten) {
  auto track = ExampleCircuit();
  RaiseStrips(*track);
  WriteAndLoad(BuildTrackMesh(*track), "raised.glb");

  TMeshOptions fine;
  fine.tolerance = 2e-7;  // so fine that the arc takes 10,000 steps
  TTrackMesh mesh = BuildTrackMesh(*track);
  mesh.sections[1] = BuildSectionMesh(*track, 1, fine);
  ASSERT_GT(mesh.sections[1].vertices.size(), 65535u);
  const tinygltf::Model model = WriteAndLoad(mesh, "fine.glb");
  for (int s = 0; s < 10; ++s) {
    const tinygltf::Mesh& m = model.meshes[size_t(s)];
    for (const tinygltf::Primitive& p : m.primitives)
      EXPECT_EQ(model.accessors[size_t(p.indices)].componentType,
                s == 1 ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT : TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
  }
}

// Every track the fuzzers were once given and the readers accept: a section that
// makes no surface (an arc of curvature 1 or -1, whose points a float cannot tell
// apart) is left out, and every accessor's bounds are its data's. The meshes go
// to the validator too.
TEST(GltfFiles, FuzzInputsHaveTheirDataAsAccessorBounds) {
  int meshed = 0;
  for (const char* folder : {"project_reader", "track_import", "json_reader", "track_mesh"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(MERIDAL_SOURCE_DIR "/fuzz/regressions") / folder)) {
      SCOPED_TRACE(entry.path().string());
      TTrack track;
      RecordingMessages messages;
      if (LoadTrackFile(entry.path().string(), std::nullopt, track, messages).status != FileStatus::Ok) continue;
      const TTrackMesh mesh = BuildTrackMesh(track);
      if (mesh.TriangleCount() == 0) continue;
      ++meshed;
      EXPECT_EQ(GltfAccessorProblem(GltfBinaryImage(mesh)), "");
      std::string error;
      EXPECT_TRUE(WriteGltf(mesh, MeshPath("fuzz-" + entry.path().filename().string() + ".glb"), &error)) << error;
      if (entry.path().filename().string().starts_with("curvature")) {
        EXPECT_EQ(mesh.warnings, std::vector<std::string>{"Section 2 skipped: its surface has no area"});
      }
    }
  }
  EXPECT_GE(meshed, 3);
}

TEST(GltfExport, RefusesOtherNamesAndEmptyMeshesWritingNothing) {
  auto track = ExampleCircuit();
  std::string error;
  const fs::path dir = fs::path(MERIDAL_TEST_TMPDIR) / "gltf-refusals";
  fs::remove_all(dir);
  fs::create_directories(dir);
  EXPECT_FALSE(WriteGltf(BuildTrackMesh(*track), (dir / "circuit.obj").string(), &error));
  EXPECT_EQ(error, "A mesh is written as .glb or .gltf, not as " + (dir / "circuit.obj").string());
  for (auto& section : track->Sections) section->Walls.resize(1);
  EXPECT_FALSE(WriteGltf(BuildTrackMesh(*track), (dir / "circuit.glb").string(), &error));
  EXPECT_EQ(error, "The track has no surface to write: every section was skipped");
  TTrackMesh refused;
  refused.refusal = "The track is not meshed: even at one step a section ...";
  EXPECT_FALSE(WriteGltf(refused, (dir / "circuit.glb").string(), &error));
  EXPECT_EQ(error, refused.refusal);
  EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
}  // namespace meridal::testing
