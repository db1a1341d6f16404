#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>


#include "cli/cli.h"
#include "cli/output_buffer.h"
#include "platform/memory_hints.h"

int main(int argc, char** argv) {
  // Writing a mesh touches some 600 MB of fresh memory for a 10,000-section track.
  if (argc > 1 && std::strcmp(argv[1], "mesh") == 0) meridal::RestartWithHugePages(argv);
  std::setlocale(LC_ALL, "C");  // numbers are printed and read with a decimal point
  std::vector<std::string> args(argv + 1, argv + argc);
  meridal::OutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  int code = meridal::RunCli(args, meridal::CliIo{out, std::cerr, &std::cin});
  // RunCli has told a failed write already; a failure may show only at close.
  const bool told = buffer.Error() != 0;
  if (!buffer.Close() && !told) {
    std::cerr << "write error: " << std::strerror(buffer.Error()) << '\n';
    code = 1;
  }
  return code;
}
