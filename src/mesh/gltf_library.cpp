// tinygltf's code, compiled with the options of gltf_library.h.
#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/rapidjson.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#define TINYGLTF_IMPLEMENTATION
#include "mesh/gltf_library.h"
