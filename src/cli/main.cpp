#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/memory_hints.h"

int main(int argc, char** argv) {
  // Writing a mesh touches some 600 MB of fresh memory for a 10,000-section track.
  if (argc > 1 && std::strcmp(argv[1], "mesh") == 0) meridal::RestartWithHugePages(argv);
  std::setlocale(LC_ALL, "C");  // numbers are printed and read with a decimal point
  std::vector<std::string> args(argv + 1, argv + argc);
  return meridal::RunCli(args, meridal::CliIo{std::cout, std::cerr, &std::cin});
}
