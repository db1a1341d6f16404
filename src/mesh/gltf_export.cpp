#include "mesh/gltf_export.h"

#include "mesh/gltf_library.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>

#include "files/safety/safe_file.h"
#include "mesh/png_image.h"
#include "mesh/surface_textures.h"
#include "mesh/track_mesh.h"
#include "platform/memory_hints.h"

namespace meridal {

namespace {

constexpr int kArrayBuffer = TINYGLTF_TARGET_ARRAY_BUFFER;
constexpr int kElementArrayBuffer = TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER;
constexpr size_t kVertexBytes = sizeof(TMeshVertex);

// An output stream that appends to a byte vector, so that the file's image is
// built once in memory and not copied through a string.
class TByteSink : public std::streambuf {
 public:
  explicit TByteSink(std::vector<uint8_t>& bytes) : bytes_(bytes) {}

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) bytes_.push_back(static_cast<uint8_t>(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    bytes_.insert(bytes_.end(), reinterpret_cast<const uint8_t*>(s), reinterpret_cast<const uint8_t*>(s) + n);
    return n;
  }

 private:
  std::vector<uint8_t>& bytes_;
};

// tinygltf keeps the document it writes in one RapidJSON pool of its own: one
// asset at a time.
std::mutex gltfDocument;

// A section without triangles gets no node, and its vertices stay out of the buffer.
bool Written(const TSectionMesh& section) { return !section.Empty() && section.TriangleCount() > 0; }

void Align4(std::vector<unsigned char>& data) { data.resize((data.size() + 3) / 4 * 4, 0); }

// min and max of `components` floats at `offset` within each vertex.
void VertexBounds(const std::vector<TMeshVertex>& vertices, size_t offset, int components, tinygltf::Accessor& a) {
  a.minValues.assign(size_t(components), std::numeric_limits<double>::infinity());
  a.maxValues.assign(size_t(components), -std::numeric_limits<double>::infinity());
  for (const TMeshVertex& v : vertices) {
    float values[3];
    std::memcpy(values, reinterpret_cast<const unsigned char*>(&v) + offset, sizeof(float) * size_t(components));
    for (int c = 0; c < components; ++c) {
      a.minValues[size_t(c)] = std::min(a.minValues[size_t(c)], double(values[c]));
      a.maxValues[size_t(c)] = std::max(a.maxValues[size_t(c)], double(values[c]));
    }
  }
}

int AddVertexAccessor(tinygltf::Model& model, const std::vector<TMeshVertex>& vertices, size_t byteOffset,
                      size_t attributeOffset, int type, int components) {
  tinygltf::Accessor a;
  a.bufferView = 0;
  a.byteOffset = byteOffset + attributeOffset;
  a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
  a.count = vertices.size();
  a.type = type;
  VertexBounds(vertices, attributeOffset, components, a);
  model.accessors.push_back(std::move(a));
  return int(model.accessors.size() - 1);
}

// The indices of one primitive, appended to `data` (16-bit when `narrow`).
int AddIndexAccessor(tinygltf::Model& model, std::vector<unsigned char>& data, size_t viewStart,
                     const std::vector<uint32_t>& indices, bool narrow) {
  Align4(data);
  tinygltf::Accessor a;
  a.bufferView = 1;
  a.byteOffset = data.size() - viewStart;
  a.componentType = narrow ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT : TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
  a.count = indices.size();
  a.type = TINYGLTF_TYPE_SCALAR;
  const auto [lo, hi] = std::minmax_element(indices.begin(), indices.end());
  a.minValues = {double(*lo)};
  a.maxValues = {double(*hi)};
  const size_t at = data.size();
  if (narrow) {
    data.resize(at + indices.size() * sizeof(uint16_t));
    uint16_t* out = reinterpret_cast<uint16_t*>(data.data() + at);
    for (size_t i = 0; i < indices.size(); ++i) out[i] = uint16_t(indices[i]);
  } else {
    data.resize(at + indices.size() * sizeof(uint32_t));
    std::memcpy(data.data() + at, indices.data(), indices.size() * sizeof(uint32_t));
  }
  model.accessors.push_back(std::move(a));
  return int(model.accessors.size() - 1);
}

tinygltf::Material PlainMaterial(TMaterial material) {
  tinygltf::Material m;
  m.name = MaterialName(material);
  const auto color = MaterialLinearColor(material);
  m.pbrMetallicRoughness.baseColorFactor = {color[0], color[1], color[2], color[3]};
  m.pbrMetallicRoughness.metallicFactor = 0.0;
  m.pbrMetallicRoughness.roughnessFactor = 0.9;
  return m;
}

// The textures of the materials: one PNG image and one texture for each texture
// the materials use (surface codes without a name share the neutral one), in
// buffer views of their own at the end of the buffer, and one sampler that
// repeats them, mipmapped. The texture coordinates are metres: each material
// scales them by its texture's size on the ground (KHR_texture_transform).
void AddTextures(tinygltf::Model& model, const std::vector<TMaterial>& materials) {
  std::vector<unsigned char>& data = model.buffers[0].data;
  tinygltf::Sampler sampler;
  sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
  sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
  sampler.wrapS = sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
  model.samplers.push_back(sampler);
  std::vector<std::pair<TTexture, bool>> drawn;  // the image and texture of each index
  for (size_t i = 0; i < materials.size(); ++i) {
    const std::pair key{MaterialTexture(materials[i]), MaterialMarked(materials[i])};
    auto at = std::find(drawn.begin(), drawn.end(), key);
    if (at == drawn.end()) {
      const std::vector<uint8_t> png = PngOfImage(TSurfaceTextures::Shared().Image(key.first, key.second));
      Align4(data);
      tinygltf::BufferView view;
      view.buffer = 0;
      view.byteOffset = data.size();
      view.byteLength = png.size();
      data.insert(data.end(), png.begin(), png.end());
      model.bufferViews.push_back(view);
      tinygltf::Image image;
      image.name = model.materials[i].name;
      image.mimeType = "image/png";
      image.bufferView = int(model.bufferViews.size() - 1);
      model.images.push_back(std::move(image));
      tinygltf::Texture texture;
      texture.name = image.name;
      texture.sampler = 0;
      texture.source = int(model.images.size() - 1);
      model.textures.push_back(std::move(texture));
      drawn.push_back(key);
      at = drawn.end() - 1;
    }
    tinygltf::Material& m = model.materials[i];
    m.pbrMetallicRoughness.baseColorFactor = {1, 1, 1, 1};
    m.pbrMetallicRoughness.baseColorTexture.index = int(at - drawn.begin());
    const double scale = 1 / TextureMetres(key.first);
    tinygltf::Value::Object transform;
    transform["scale"] = tinygltf::Value(tinygltf::Value::Array{tinygltf::Value(scale), tinygltf::Value(scale)});
    m.pbrMetallicRoughness.baseColorTexture.extensions["KHR_texture_transform"] = tinygltf::Value(transform);
  }
  model.extensionsUsed.push_back("KHR_texture_transform");
  Align4(data);
}

tinygltf::Model MakeModel(const TTrackMesh& mesh, const TGltfOptions& options) {
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = "Meridal";
  const std::vector<TMaterial> materials = mesh.MaterialsUsed();
  for (TMaterial material : materials) model.materials.push_back(PlainMaterial(material));

  model.buffers.resize(1);
  std::vector<unsigned char>& data = model.buffers[0].data;
  size_t vertexBytes = 0, indexBytes = 0;
  for (const TSectionMesh& section : mesh.sections) {
    vertexBytes += section.vertices.size() * kVertexBytes;
    indexBytes += section.TriangleCount() * 3 * sizeof(uint32_t) + 4 * section.parts.size();
  }
  data.reserve(vertexBytes + indexBytes);
  AdviseHugePages(data.data(), data.capacity());
  // Reserved, since a growing vector of these would copy every one it holds.
  size_t meshes = 0, primitives = 0;
  for (const TSectionMesh& section : mesh.sections) {
    meshes += Written(section) ? 1 : 0;
    primitives += Written(section) ? section.parts.size() : 0;
  }
  model.accessors.reserve(3 * meshes + primitives);
  model.meshes.reserve(meshes);
  model.nodes.reserve(meshes);
  // Only the vertices of the sections written: each accessor's offset counts the
  // vertices before it.
  for (const TSectionMesh& section : mesh.sections) {
    if (!Written(section)) continue;
    const auto* bytes = reinterpret_cast<const unsigned char*>(section.vertices.data());
    data.insert(data.end(), bytes, bytes + section.vertices.size() * kVertexBytes);
  }
  tinygltf::BufferView vertexView;
  vertexView.buffer = 0;
  vertexView.byteLength = data.size();
  vertexView.byteStride = kVertexBytes;
  vertexView.target = kArrayBuffer;
  model.bufferViews.push_back(vertexView);

  const size_t indexStart = data.size();
  model.scenes.resize(1);
  model.defaultScene = 0;
  size_t vertexOffset = 0;
  for (size_t s = 0; s < mesh.sections.size(); ++s) {
    const TSectionMesh& section = mesh.sections[s];
    if (!Written(section)) continue;
    const size_t at = vertexOffset;
    vertexOffset += section.vertices.size() * kVertexBytes;
    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.attributes["POSITION"] =
        AddVertexAccessor(model, section.vertices, at, offsetof(TMeshVertex, position), TINYGLTF_TYPE_VEC3, 3);
    primitive.attributes["NORMAL"] =
        AddVertexAccessor(model, section.vertices, at, offsetof(TMeshVertex, normal), TINYGLTF_TYPE_VEC3, 3);
    primitive.attributes["TEXCOORD_0"] =
        AddVertexAccessor(model, section.vertices, at, offsetof(TMeshVertex, uv), TINYGLTF_TYPE_VEC2, 2);
    // 16-bit indices can number 65535 vertices: 65535 itself marks a restart.
    const bool narrow = section.vertices.size() <= 65535;
    const std::string name = "Section " + std::to_string(s);
    tinygltf::Mesh gltfMesh;
    gltfMesh.name = name;
    for (const TMeshPart& part : section.parts) {
      primitive.indices = AddIndexAccessor(model, data, indexStart, part.indices, narrow);
      primitive.material =
          int(std::lower_bound(materials.begin(), materials.end(), TMaterial::Of(part)) - materials.begin());
      gltfMesh.primitives.push_back(primitive);
    }
    model.meshes.push_back(std::move(gltfMesh));
    tinygltf::Node node;
    node.name = name;
    node.mesh = int(model.meshes.size() - 1);
    model.nodes.push_back(std::move(node));
    model.scenes[0].nodes.push_back(int(model.nodes.size() - 1));
  }
  Align4(data);
  tinygltf::BufferView indexView;
  indexView.buffer = 0;
  indexView.byteOffset = indexStart;
  indexView.byteLength = data.size() - indexStart;
  indexView.target = kElementArrayBuffer;
  model.bufferViews.push_back(indexView);
  if (options.textures) AddTextures(model, materials);
  return model;
}

std::vector<uint8_t> BinaryImage(const tinygltf::Model& model) {
  std::vector<uint8_t> bytes;
  bytes.reserve(model.buffers[0].data.size() + model.accessors.size() * 200 + 4096);
  AdviseHugePages(bytes.data(), bytes.capacity());
  TByteSink sink(bytes);
  std::ostream stream(&sink);
  const std::lock_guard<std::mutex> lock(gltfDocument);
  tinygltf::TinyGLTF gltf;
  gltf.WriteGltfSceneToStream(&model, stream, false, true);
  return bytes;
}

uint32_t Word(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

// A relative URI for a file name: unreserved characters as they are, every
// other byte percent-encoded.
std::string UriOfFileName(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri;
  for (unsigned char c : name) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += char(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Replace(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
  const ReplaceOutcome outcome = ReplaceFileContents(path, bytes);
  if (outcome.result == ReplaceResult::Ok) return true;
  if (error) *error = "Cannot write the mesh: " + (outcome.reason.empty() ? SystemReason(path, outcome.error) : outcome.reason);
  return false;
}

}  // namespace

bool GltfFormOfPath(const std::string& path, GltfForm& form) {
  const std::string lower = Lower(path);
  const auto endsWith = [&lower](const char* ending) {
    const size_t n = std::strlen(ending);
    return lower.size() > n && lower.compare(lower.size() - n, n, ending) == 0;
  };
  if (endsWith(".glb")) {
    form = GltfForm::Binary;
    return true;
  }
  if (endsWith(".gltf")) {
    form = GltfForm::Text;
    return true;
  }
  return false;
}

std::vector<uint8_t> GltfBinaryImage(const TTrackMesh& mesh, const TGltfOptions& options) {
  return BinaryImage(MakeModel(mesh, options));
}

TGltfTextImage GltfTextImage(const TTrackMesh& mesh, const std::string& binUri, const TGltfOptions& options) {
  // tinygltf writes a text asset's buffer only into a file of its own choosing or
  // inline as base64; the JSON of the binary form, given the buffer's name, is the
  // text form without either.
  tinygltf::Model model = MakeModel(mesh, options);
  TGltfTextImage image;
  image.buffer = std::move(model.buffers[0].data);
  model.buffers[0].data.clear();
  const std::vector<uint8_t> glb = BinaryImage(model);
  // 12 bytes of header, then the JSON chunk's length and type.
  const size_t length = Word(glb, 12);
  auto json = nlohmann::json::parse(glb.begin() + 20, glb.begin() + 20 + long(length));
  json["buffers"][0] = {{"byteLength", image.buffer.size()}, {"uri", binUri}};
  image.json = json.dump(1) + "\n";
  return image;
}

bool WriteGltf(const TTrackMesh& mesh, const std::string& path, std::string* error, const TGltfOptions& options) {
  GltfForm form;
  if (!GltfFormOfPath(path, form)) {
    if (error) *error = "A mesh is written as .glb or .gltf, not as " + path;
    return false;
  }
  if (!mesh.refusal.empty()) {
    if (error) *error = mesh.refusal;
    return false;
  }
  if (mesh.TriangleCount() == 0) {
    if (error) *error = "The track has no surface to write: every section was skipped";
    return false;
  }
  if (form == GltfForm::Binary) return Replace(path, GltfBinaryImage(mesh, options), error);
  // OUT.gltf and its buffer OUT.bin beside it.
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const std::string binPath = path.substr(0, dot) + ".bin";
  const std::string binName = binPath.substr(slash == std::string::npos ? 0 : slash + 1);
  const TGltfTextImage image = GltfTextImage(mesh, UriOfFileName(binName), options);
  if (!Replace(binPath, image.buffer, error)) return false;
  return Replace(path, {reinterpret_cast<const uint8_t*>(image.json.data()), image.json.size()}, error);
}

}  // namespace meridal
