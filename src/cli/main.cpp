#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

// Writing a mesh touches some 600 MB of fresh memory for a 10,000-section track,
// in many blocks. The C library gives its blocks huge pages only when asked as
// the program starts, and in 4 KB pages the faults and the address lookups take
// over a third of the command's time; so the command starts itself again, once,
// asking for them. Nothing changes where the system has no such setting: the
// exec fails or the library ignores it, and the command runs as it is.
void RestartWithHugePages(char** argv) {
#if defined(__linux__)
  if (std::getenv("GLIBC_TUNABLES") != nullptr) return;  // the user's own, or set already
  setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 0);
  execv("/proc/self/exe", argv);
  unsetenv("GLIBC_TUNABLES");
#else
  (void)argv;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "mesh") == 0) RestartWithHugePages(argv);
  std::setlocale(LC_ALL, "C");  // numbers are printed and read with a decimal point
  std::vector<std::string> args(argv + 1, argv + argc);
  return meridal::RunCli(args, meridal::CliIo{std::cout, std::cerr, &std::cin});
}
