#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");  // numbers are printed and read with a decimal point
  std::vector<std::string> args(argv + 1, argv + argc);
  return meridal::RunCli(args, meridal::CliIo{std::cout, std::cerr, &std::cin});
}
