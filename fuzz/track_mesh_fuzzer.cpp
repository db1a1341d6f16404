// Any bytes as a track file, a JSON text or the plaintext of a project file
// (told by how they begin: "{" a JSON text, "MRDL" a project file sealed by the
// harness, anything else a track file), meshed when the reader accepts them. The
// mesh keeps within the track's budget of vertices (or is refused, with nothing
// built), and its .glb holds accessors whose min and max are the data's own.
#include <vector>

#include "files/cipher/seal.h"
#include "files/project/project_key.h"
#include "files/track_formats.h"
#include "fuzz_common.h"
#include "mesh/gltf_export.h"
#include "mesh/mesh_budget.h"
#include "mesh/track_mesh.h"
#include "support/gltf_accessor_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace meridal;
  std::vector<uint8_t> file(data, data + size);
  TrackFormat format = TrackFormat::TrackFile;
  if (size > 0 && data[0] == '{') {
    format = TrackFormat::Json;
  } else if (size > 8 && std::equal(data, data + 4, "MRDL")) {
    format = TrackFormat::Project;
    SealGroups(file.data() + 8, (file.size() - 8) / kGroupBytes, kProjectKey);
  }
  TTrack track;
  fuzz::CountingMessages messages;
  if (!ReadTrackImage(format, std::move(file), track, messages)) return 0;
  const TMeshBudget budget = PlanMeshBudget(track, TMeshOptions{});
  const TTrackMesh mesh = BuildTrackMesh(track);
  fuzz::Check(mesh.refusal == budget.refusal);
  if (!mesh.refusal.empty()) {
    fuzz::Check(mesh.VertexCount() == 0);
    return 0;
  }
  fuzz::Check(mesh.VertexCount() <= budget.planned && budget.planned <= budget.limit);
  fuzz::Check(mesh.coarser.empty() == (budget.planned == budget.finest));
  if (mesh.TriangleCount() == 0) return 0;
  fuzz::Check(testing::GltfAccessorProblem(GltfBinaryImage(mesh)).empty());
  return 0;
}
