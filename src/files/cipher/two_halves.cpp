#include "files/cipher/two_halves.h"

#include <system_error>
#include <thread>

namespace meridal {

void InTwoHalves(size_t count, bool worthIt, const std::function<void(size_t, size_t)>& work) {
  static const bool twoCores = std::thread::hardware_concurrency() > 1;
  if (!twoCores || !worthIt || count < 2) return work(0, count);
  const size_t half = count / 2;
  std::thread second;
  try {
    second = std::thread(work, size_t{0}, half);
  } catch (const std::system_error&) {
    return work(0, count);  // no thread to be had: all of it here
  }
  work(half, count);
  second.join();
}

}  // namespace meridal
