#pragma once
// A request to stop a long computation, set from one thread and looked at by
// another between steps of the work.
#include <atomic>

namespace meridal {

class TCancelFlag {
 public:
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> cancelled_{false};
};

inline bool Cancelled(const TCancelFlag* flag) { return flag && flag->Cancelled(); }

}  // namespace meridal
