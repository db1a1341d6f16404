#pragma once
// What a glTF reader checks of the accessors of a .glb image, as the validator
// does: each accessor lies within its buffer view and the buffer, its declared
// min and max are the very min and max of the values it holds, and indices name
// vertices that are there. The empty text when all is well, else the first fault.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "mesh/gltf_library.h"
#include "support/gltf_images.h"

namespace meridal::testing {

inline std::string GltfAccessorProblem(const std::vector<uint8_t>& glb) {
  tinygltf::TinyGLTF loader = GltfLoader();
  tinygltf::Model model;
  std::string error, warning;
  if (!loader.LoadBinaryFromMemory(&model, &error, &warning, glb.data(), unsigned(glb.size())))
    return "not read: " + error + warning;
  for (size_t i = 0; i < model.accessors.size(); ++i) {
    const tinygltf::Accessor& a = model.accessors[i];
    const std::string at = "accessor " + std::to_string(i) + ": ";
    if (a.bufferView < 0 || size_t(a.bufferView) >= model.bufferViews.size()) return at + "no buffer view";
    const tinygltf::BufferView& view = model.bufferViews[size_t(a.bufferView)];
    const std::vector<unsigned char>& data = model.buffers[size_t(view.buffer)].data;
    const int components = tinygltf::GetNumComponentsInType(uint32_t(a.type));
    const int size = tinygltf::GetComponentSizeInBytes(uint32_t(a.componentType));
    if (components <= 0 || size <= 0) return at + "unknown type";
    const size_t element = size_t(components * size);
    const size_t stride = view.byteStride ? view.byteStride : element;
    if (a.count == 0) return at + "no elements";
    const size_t end = a.byteOffset + (a.count - 1) * stride + element;
    if (end > view.byteLength || view.byteOffset + view.byteLength > data.size()) return at + "past its view";
    if (a.minValues.size() != size_t(components) || a.maxValues.size() != size_t(components))
      return at + "no bounds";
    std::vector<double> lo(size_t(components), std::numeric_limits<double>::infinity());
    std::vector<double> hi(size_t(components), -std::numeric_limits<double>::infinity());
    for (size_t e = 0; e < a.count; ++e) {
      const unsigned char* p = data.data() + view.byteOffset + a.byteOffset + e * stride;
      for (int c = 0; c < components; ++c) {
        double value = 0;
        if (a.componentType == TINYGLTF_COMPONENT_TYPE_FLOAT) {
          float f;
          std::memcpy(&f, p + c * size, sizeof f);
          if (!(f == f) || f - f != 0) return at + "holds a value that is not a finite number";
          value = f;
        } else if (a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT) {
          uint16_t u;
          std::memcpy(&u, p + c * size, sizeof u);
          value = u;
        } else if (a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
          uint32_t u;
          std::memcpy(&u, p + c * size, sizeof u);
          value = u;
        } else {
          return at + "an unexpected component type";
        }
        lo[size_t(c)] = std::min(lo[size_t(c)], value);
        hi[size_t(c)] = std::max(hi[size_t(c)], value);
      }
    }
    // Floats compare as floats: the JSON text holds their values as doubles.
    for (int c = 0; c < components; ++c) {
      if (float(a.minValues[size_t(c)]) != float(lo[size_t(c)]) || float(a.maxValues[size_t(c)]) != float(hi[size_t(c)]))
        return at + "min or max is not the data's";
    }
  }
  // Indices within the vertices of their primitive.
  for (const tinygltf::Mesh& mesh : model.meshes)
    for (const tinygltf::Primitive& p : mesh.primitives) {
      const auto position = p.attributes.find("POSITION");
      if (position == p.attributes.end() || p.indices < 0) return "a primitive without positions or indices";
      const size_t count = model.accessors[size_t(position->second)].count;
      for (const auto& [name, accessor] : p.attributes)
        if (model.accessors[size_t(accessor)].count != count) return "attributes of different counts";
      if (model.accessors[size_t(p.indices)].maxValues[0] >= double(count)) return "an index past the vertices";
    }
  return {};
}

}  // namespace meridal::testing
