#pragma once
// Hints to the operating system about large blocks of memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace meridal {

// Huge pages are 2 MB on x86-64 and most other Linux systems.
constexpr size_t kHugePageBytes = size_t{2} << 20;

// Asks for huge pages in the whole 2 MB pages inside [p, p + bytes), where the
// kernel gives them on request. Opening a 10,000-section track touches some 40 MB
// of fresh memory (the file and the model's objects); in 4 KB pages that is ten
// thousand page faults, a third of the time the command line spends on it. Only
// a hint: nothing changes where the system has no such pages.
inline void AdviseHugePages(void* p, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHugePageBytes - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

// The C library gives its blocks huge pages only when asked as the program
// starts. Where a page fault costs microseconds (as on virtual machines), the
// fresh memory of large tracks is paid for in 4 KB pages again and again: the
// editor's check list grown by a paste, a reversed track's kept side, a mesh
// of 600 MB. So the program starts itself again, once, asking for them.
// Nothing changes where the system has no such setting: the exec fails or the
// library ignores it, and the program runs as it is. A user's own setting is
// left alone.
inline void RestartWithHugePages(char** argv) {
#if defined(__linux__)
  if (std::getenv("GLIBC_TUNABLES") != nullptr) return;  // the user's own, or set already
  // The program's own path, not /proc/self/exe: the process keeps its name.
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return;
  path[length] = '\0';
  setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 0);
  execv(path, argv);
  unsetenv("GLIBC_TUNABLES");
#else
  (void)argv;
#endif
}

}  // namespace meridal
