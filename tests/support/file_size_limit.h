#pragma once
// For as long as it lives, no file of this process may grow beyond a few bytes:
// a write past them fails with EFBIG, as a write to a full disk fails, and the
// signal the system would send for it is ignored.
#include <signal.h>
#include <sys/resource.h>

namespace meridal::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_;
    small.rlim_cur = bytes;
    set_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Set() const { return set_; }

 private:
  struct rlimit old_ {};
  sighandler_t oldHandler_;
  bool set_ = false;
};

}  // namespace meridal::testing
