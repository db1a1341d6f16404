// render: draws a track into a PNG with the same drawing code as the graphics window.
#include <ostream>

#include "cli/cli_document.h"

namespace meridal {

int CommandRender(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, "render FILE.mrd OUT.png [--size WxH] [--select OBJECT] [--view-flags N] [--zoom Z]",
                  io))
    return 2;
  io.err << "meridal-cli: render is not available in this build\n";
  return 1;
}

}  // namespace meridal
