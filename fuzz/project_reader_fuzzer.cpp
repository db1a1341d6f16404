// Any bytes as a project file.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  meridal::fuzz::ReadAndCheck(std::span<const uint8_t>(data, size));
  return 0;
}
