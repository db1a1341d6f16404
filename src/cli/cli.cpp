#include "cli/cli.h"

#include <ostream>

namespace meridal {

namespace {

const char kUsage[] =
    "usage: meridal-cli COMMAND ...\n"
    "  new OUT.mrd\n"
    "  synth N OUT.mrd                       # a large test track of N sections\n"
    "  tree FILE.mrd\n"
    "  props FILE.mrd [OBJECT]\n"
    "  get FILE.mrd OBJECT NAME\n"
    "  set FILE.mrd OBJECT NAME TEXT [--base dec|m|deg|curv] [-o OUT.mrd]\n"
    "  edit FILE.mrd OBJECT OP [ARG] [-o OUT.mrd]\n"
    "      OP: remove | add-before | add-after | split LEN | change-type |\n"
    "          copy-walls-from N | copy-walls-to-all | copy-altitude\n"
    "  trace FILE.mrd remove|add-before|add-after N [-o OUT.mrd]\n"
    "  export FILE.mrd OUT.trk\n"
    "  check FILE.mrd\n"
    "  render FILE.mrd OUT.png [--size WxH] [--select OBJECT] [--view-flags N] [--zoom Z]\n"
    "OBJECT: track | \"section N\" | \"section N/wall K\" | \"section N/altitude J\"\n"
    "        (case-insensitive; '-' may stand for a blank: section-3/wall-1)\n";

// Options that take a value; every other word is positional, so that a value such
// as "-5" reaches the command as typed.
const char* const kValueOptions[] = {"--base", "-o", "--size", "--select", "--view-flags", "--zoom"};

struct Command {
  const char* name;
  int (*run)(const CliArgs&, CliIo);
};

const Command kCommands[] = {
    {"new", CommandNew},     {"synth", CommandSynth},   {"tree", CommandTree},   {"props", CommandProps},
    {"get", CommandGet},     {"set", CommandSet},       {"edit", CommandEdit},   {"trace", CommandTrace},
    {"export", CommandExport}, {"check", CommandCheck}, {"render", CommandRender},
};

}  // namespace

int RunCli(const std::vector<std::string>& argv, CliIo io) {
  if (argv.empty() || argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
    (argv.empty() ? io.err : io.out) << kUsage;
    return argv.empty() ? 2 : 0;
  }
  CliArgs args;
  for (size_t i = 1; i < argv.size(); ++i) {
    bool isOption = false;
    for (const char* option : kValueOptions) {
      if (argv[i] != option) continue;
      if (i + 1 >= argv.size()) {
        io.err << "meridal-cli: " << option << " needs a value\n";
        return 2;
      }
      args.options[option] = argv[++i];
      isOption = true;
      break;
    }
    if (!isOption) args.positional.push_back(argv[i]);
  }
  for (const Command& command : kCommands)
    if (argv[0] == command.name) return command.run(args, io);
  io.err << "meridal-cli: unknown command '" << argv[0] << "'\n" << kUsage;
  return 2;
}

}  // namespace meridal
