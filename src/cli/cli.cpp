#include "cli/cli.h"

#include <ostream>

#include "cli/output_buffer.h"
#include "files/safety/shown_text.h"
#include "program_version.h"

namespace meridal {

namespace {

const char kUsage[] =
    "usage: meridal-cli COMMAND ...\n"
    "       meridal-cli --help | --version\n"
    "  new OUT\n"
    "  synth N OUT                           # a large test track of N sections\n"
    "  tree FILE\n"
    "  props FILE [OBJECT]\n"
    "  get FILE OBJECT NAME\n"
    "  set FILE OBJECT NAME TEXT [--base dec|m|deg|curv] [--keep-joined] [-o OUT]\n"
    "      TEXT: a number in the base, or with its unit: 150 m, 15 cm, 2.5 mm, 0.2 km, 30\u00B0, 30 deg, 0.5 rad\n"
    "  edit FILE OBJECT OP [ARG] [--keep-joined] [-o OUT]\n"
    "      OP: remove | add-before | add-after | split LEN | change-type |\n"
    "          copy-walls-from N | copy-walls-to-all | copy-altitude\n"
    "  trace FILE remove|add-before|add-after N [-o OUT]\n"
    "  export FILE OUT.trk\n"
    "  convert IN OUT [--from mrd|trk|json] [--to mrd|trk|json]   ('-': standard input or output)\n"
    "  check FILE [--max-slope PERCENT]   # steep: a trace inside a section steeper than this (25)\n"
    "  fix FILE positions|heights|walls|all [-o OUT]\n"
    "  fix FILE loop [--sections A-B] [-o OUT]  # close the loop: one line a value changed\n"
    "  profile FILE [--samples N]\n"
    "  mesh FILE OUT.glb|OUT.gltf [--no-textures]   # the surface in 3D as glTF 2.0 (.gltf: OUT.bin beside it)\n"
    "  copy FILE \"section A-B\"               # the sections' JSON text on standard output\n"
    "  paste FILE \"section N\" [--keep-joined] [-o OUT]   # sections from standard input, after section N\n"
    "  reverse FILE [-o OUT]                 # the track run the other way\n"
    "  mirror FILE [-o OUT]                  # the track mirrored across section 0's start line\n"
    "  drag FILE OBJECT HANDLE X Y [--snap] [--detach] [-o OUT]\n"
    "      HANDLE: end | radius | heading | move, let go at X, Y (metres; x east, y north)\n"
    "  lap FILE [--vehicle V.json] [--line centre|min-curvature] [--csv OUT.csv]\n"
    "      # the lap time and speeds of a vehicle (the formula car unless named) on a line\n"
    "      # (min-curvature unless named); --csv: the speeds along the line, s_m; x_m; y_m; ...\n"
    "  render FILE OUT.png [--size WxH] [--select OBJECT] [--view-flags N] [--zoom Z] [--smooth]\n"
    "  render FILE OUT.png --profile [--size WxH] [--select OBJECT] [--slope] [--smooth]\n"
    "  fit IN OUT [--tolerance METRES] [--traces N] [--width METRES]   # IN: a centreline, .csv .gpx .geojson\n"
    "      [--min-length METRES] [--force]\n"
    "      [--heights relative|absolute|none] [--dem FILE [--dem-origin X,Y]]   # FILE: a terrain model\n"
    "  centreline FILE OUT.csv [--step METRES]   # the zero line and widths as a centreline\n"
    "  batch FILE [-o OUT] [--keep-going] [--in-place]   # commands from standard input, one a line:\n"
    "      tree, props, get, set, edit, trace, export, check, profile, render, mesh, lap, copy, paste, drag,\n"
    "      reverse, mirror without FILE and -o (copy and paste use the batch's own clipboard),\n"
    "      and undo | redo | history | save [OUT] | keep-joined on|off; words quoted as in a shell\n"
    "--keep-joined: the sections after a changed one follow it, joined (off by default)\n"
    "FILE, OUT: a project (.mrd), a track file (.trk) or a JSON text (.json), told by the\n"
    "        extension; a changed FILE is written back in its own format\n"
    "--in-place: a file whose folder takes no temporary file is overwritten in place (a copy\n"
    "        is kept in $XDG_CACHE_HOME/meridal/ until the new contents are on the disk)\n"
    "OBJECT: track | \"section N\" | \"section N/wall K\" | \"section N/altitude J\"\n"
    "        (case-insensitive; '-' may stand for a blank: section-3/wall-1)\n";

// Options that take a value; every other word is positional, so that a value such
// as "-5" reaches the command as typed.
const char* const kValueOptions[] = {"--base", "-o",         "--size",    "--select", "--view-flags",
                                     "--zoom", "--samples", "--from", "--to",
                                     "--sections", "--tolerance", "--traces", "--width", "--step",
                                     "--min-length", "--vehicle", "--line", "--csv",
                                     "--heights", "--dem", "--dem-origin", "--max-slope"};
// Options that stand alone.
const char* const kFlagOptions[] = {"--profile", "--slope",  "--smooth", "--keep-going", "--in-place",
                                    "--snap",    "--detach", "--force",  "--keep-joined", "--no-textures"};

struct Command {
  const char* name;
  int (*run)(const CliArgs&, CliIo);
};

const Command kCommands[] = {
    {"new", CommandNew},       {"synth", CommandSynth},     {"tree", CommandTree},     {"props", CommandProps},
    {"get", CommandGet},       {"set", CommandSet},         {"edit", CommandEdit},     {"trace", CommandTrace},
    {"export", CommandExport}, {"check", CommandCheck},     {"profile", CommandProfile}, {"render", CommandRender},
    {"convert", CommandConvert},
    {"batch", CommandBatch},
    {"fix", CommandFix},
    {"mesh", CommandMesh},
    {"fit", CommandFit},
    {"centreline", CommandCentreline},
    {"copy", CommandCopy},     {"paste", CommandPaste},     {"reverse", CommandReverse}, {"mirror", CommandMirror},
    {"drag", CommandDrag},
    {"lap", CommandLap},
};

}  // namespace

bool ParseWords(const std::vector<std::string>& words, size_t first, CliArgs& args, CliIo io) {
  for (size_t i = first; i < words.size(); ++i) {
    bool isOption = false;
    for (const char* option : kValueOptions) {
      if (words[i] != option) continue;
      if (i + 1 >= words.size()) {
        io.err << "meridal-cli: " << option << " needs a value\n";
        return false;
      }
      args.options[option] = words[++i];
      isOption = true;
      break;
    }
    for (const char* flag : kFlagOptions) {
      if (isOption || words[i] != flag) continue;
      args.options[flag] = std::string();
      isOption = true;
    }
    if (!isOption) args.positional.push_back(words[i]);
  }
  return true;
}

namespace {

int RunCommand(const std::vector<std::string>& argv, CliIo io) {
  if (argv.empty() || argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
    (argv.empty() ? io.err : io.out) << kUsage;
    return argv.empty() ? 2 : 0;
  }
  if (argv[0] == "--version") {
    io.out << "meridal-cli " << kProgramVersion << '\n';
    return 0;
  }
  CliArgs args;
  if (!ParseWords(argv, 1, args, io)) return 2;
  for (const Command& command : kCommands)
    if (argv[0] == command.name) return command.run(args, io);
  io.err << "meridal-cli: unknown command '" << ShownPath(argv[0]) << "'\n" << kUsage;
  return 2;
}

}  // namespace

int RunCli(const std::vector<std::string>& argv, CliIo io) {
  const int code = RunCommand(argv, io);
  // Output that did not reach its file is a failure, whatever the command did.
  const std::string failure = OutputFailure(io.out);
  if (failure.empty()) return code;
  io.err << failure << '\n';
  return 1;
}

}  // namespace meridal
