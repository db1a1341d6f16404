// mesh OUT.glb|OUT.gltf [--no-textures]: the track's surface as a glTF 2.0 asset,
// its surfaces textured (or in plain colours).
#include <ostream>

#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "mesh/gltf_export.h"
#include "mesh/track_mesh.h"
#include "model/track.h"

namespace meridal {

int RunMesh(TCliSession& session, const CliArgs& args, CliIo io) {
  const std::string& out = args.positional[0];
  GltfForm form;
  if (!GltfFormOfPath(out, form)) {
    io.err << "meridal-cli: the mesh is written as OUT.glb or OUT.gltf\n";
    return kShowUsage;
  }
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  const TTrackMesh mesh = BuildTrackMesh(*track);
  if (!mesh.coarser.empty()) io.err << "meridal-cli: warning: " << mesh.coarser << "\n";
  for (const std::string& warning : mesh.warnings) io.err << "meridal-cli: warning: " << warning << "\n";
  std::string error;
  TGltfOptions options;
  options.textures = !args.Has("--no-textures");
  if (!WriteGltf(mesh, out, &error, options)) {
    io.err << "meridal-cli: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace meridal
