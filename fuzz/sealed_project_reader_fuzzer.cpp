// Any bytes as the plaintext of a project file: the harness seals every whole
// group after the first 8 bytes before reading, so mutations reach the counts and
// record indices instead of unsealing to noise.
#include <vector>

#include "files/project/project_key.h"
#include "files/cipher/seal.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  if (file.size() > 8) meridal::SealGroups(file.data() + 8, (file.size() - 8) / meridal::kGroupBytes, meridal::kProjectKey);
  meridal::fuzz::ReadAndCheck(file);
  return 0;
}
