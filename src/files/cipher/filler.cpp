#include "files/cipher/filler.h"

#include <ctime>

namespace meridal {

TFiller TFiller::FromClock() { return TFiller(static_cast<uint32_t>(std::time(nullptr))); }

}  // namespace meridal
