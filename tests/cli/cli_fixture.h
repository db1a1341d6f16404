#pragma once
// meridal-cli driven through its entry point in a folder of the test's own, with a
// new project in it: what each command prints, its exit code, and the files it
// leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace meridal::cli_test {

struct Result {
  int code;
  std::string out, err;
};

// Runs a command line; `input` is its standard input, when it has one.
inline Result RunCommand(std::vector<std::string> args, std::optional<std::string> input = std::nullopt) {
  std::ostringstream out, err;
  std::istringstream in(input.value_or(std::string()));
  const int code = RunCli(args, CliIo{out, err, input ? &in : nullptr});
  return Result{code, out.str(), err.str()};
}

inline std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(MERIDAL_TEST_TMPDIR) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "t.mrd").string();
    ASSERT_EQ(RunCommand({"new", file_}).code, 0);
  }
  // Runs a command that must succeed.
  std::string Ok(std::vector<std::string> args) {
    Result r = RunCommand(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return r.out;
  }
  // Runs a command that must be refused with exactly this message, leaving the file.
  void Refused(std::vector<std::string> args, const std::string& message) {
    const std::string before = Bytes(file_);
    Result r = RunCommand(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, message + "\n");
    EXPECT_EQ(Bytes(file_), before);
  }
  std::filesystem::path dir_;
  std::string file_;
};

}  // namespace meridal::cli_test
