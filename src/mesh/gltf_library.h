#pragma once
// tinygltf as this program builds it. Include this header, never <tiny_gltf.h>
// itself, so that every file agrees on the options:
//  - RapidJSON holds the document: a track of 10,000 sections has some 100,000
//    accessors, and RapidJSON keeps them in a few pooled blocks where nlohmann's
//    objects take a dozen small allocations each. The pool belongs to one
//    document at a time: write or read one glTF asset at a time (WriteGltf sees
//    to that for its writing).
//  - No image support: the meshes carry no images.
// gltf_library.cpp compiles tinygltf itself with these options.
#define TINYGLTF_USE_RAPIDJSON
#define TINYGLTF_NO_INCLUDE_RAPIDJSON
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>
