#pragma once
// meridal-cli: a scriptable front end over the core. Each subcommand returns the
// process exit code: 0 success, 1 a failure reported on stderr with the system's own
// message, 2 a usage error.
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace meridal {

struct CliArgs {
  std::vector<std::string> positional;        // after the subcommand
  std::map<std::string, std::string> options;  // "--base" -> "m", "-o" -> path
  bool Has(const std::string& option) const { return options.count(option) != 0; }
  std::string Get(const std::string& option, const std::string& fallback = std::string()) const {
    auto it = options.find(option);
    return it == options.end() ? fallback : it->second;
  }
};

struct CliIo {
  std::ostream& out;
  std::ostream& err;
  std::istream* in = nullptr;  // what "-" reads; nothing when there is no input
};

// Runs a whole command line (argv without the program name). When the output
// could not be written, it says why on `err` ("write error: No space left on
// device") and returns 1.
int RunCli(const std::vector<std::string>& argv, CliIo io);
// Sorts the words from `first` on into options (with their values) and positional
// words; false after a usage message when an option lacks its value.
bool ParseWords(const std::vector<std::string>& words, size_t first, CliArgs& args, CliIo io);

int CommandNew(const CliArgs& args, CliIo io);
int CommandSynth(const CliArgs& args, CliIo io);
int CommandTree(const CliArgs& args, CliIo io);
int CommandProps(const CliArgs& args, CliIo io);
int CommandGet(const CliArgs& args, CliIo io);
int CommandSet(const CliArgs& args, CliIo io);
int CommandEdit(const CliArgs& args, CliIo io);
int CommandTrace(const CliArgs& args, CliIo io);
int CommandExport(const CliArgs& args, CliIo io);
int CommandCheck(const CliArgs& args, CliIo io);
int CommandFix(const CliArgs& args, CliIo io);
int CommandProfile(const CliArgs& args, CliIo io);
int CommandRender(const CliArgs& args, CliIo io);
int CommandConvert(const CliArgs& args, CliIo io);
int CommandBatch(const CliArgs& args, CliIo io);
int CommandMesh(const CliArgs& args, CliIo io);
int CommandFit(const CliArgs& args, CliIo io);
int CommandCentreline(const CliArgs& args, CliIo io);
int CommandCopy(const CliArgs& args, CliIo io);
int CommandPaste(const CliArgs& args, CliIo io);
int CommandReverse(const CliArgs& args, CliIo io);
int CommandMirror(const CliArgs& args, CliIo io);
int CommandDrag(const CliArgs& args, CliIo io);
int CommandLap(const CliArgs& args, CliIo io);

}  // namespace meridal
