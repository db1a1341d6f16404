#pragma once
// Work that splits into independent halves (the cipher over a file's groups) runs
// the first half on a second thread while the calling thread does the second, on
// a machine with a second core and when there is enough of it to pay for the
// thread. The result is the same either way; only the time differs.
#include <cstddef>
#include <functional>

namespace meridal {

// Calls work(first, end) over [0, count): twice side by side when `worthIt` and
// the machine has a second core, else once.
void InTwoHalves(size_t count, bool worthIt, const std::function<void(size_t first, size_t end)>& work);

}  // namespace meridal
