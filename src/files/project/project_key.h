#pragma once
// The key every project file is sealed with. Changing any of these words makes
// every existing project file unreadable.
#include <cstdint>

#include "files/cipher/tea.h"

namespace meridal {

constexpr uint32_t kProjectKey0 = 0x4D3E2A91u;
constexpr uint32_t kProjectKey1 = 0x17C6B05Fu;
constexpr uint32_t kProjectKey2 = 0xA2F4D863u;
constexpr uint32_t kProjectKey3 = 0x6B1E9C27u;

constexpr TeaKey kProjectKey{{kProjectKey0, kProjectKey1, kProjectKey2, kProjectKey3}};

}  // namespace meridal
