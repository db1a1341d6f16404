#include "shell/model_export.h"

#include <filesystem>
#include <system_error>

#include "mesh/gltf_export.h"
#include "mesh/track_mesh.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "shell/shell_texts.h"
#include "shell/shell_windows.h"

namespace meridal {

namespace {

constexpr const char* kModelExtension = "*.glb";
constexpr const char* kModelFilter = "glTF Binary (*.glb)|*.glb|glTF JSON with its buffer (*.gltf)|*.gltf";

// Where a .gltf keeps its buffer: beside it, under its name with ".bin".
std::string BufferPathOf(const std::string& gltfPath) { return gltfPath.substr(0, gltfPath.find_last_of('.')) + ".bin"; }

uint64_t SizeOf(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : uint64_t(size);
}

}  // namespace

std::string ModelNameProposal(const std::string& documentFile) {
  const size_t slash = documentFile.find_last_of('/');
  const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = documentFile.find_last_of('.');
  if (nameAt == documentFile.size()) return documentFile + "track.glb";
  // A leading dot starts a hidden file's name, not its extension.
  const size_t stem = dot == std::string::npos || dot <= nameAt ? documentFile.size() : dot;
  return documentFile.substr(0, stem) + ".glb";
}

std::string ModelExportedText(const std::string& path, uint64_t bytes, size_t triangles, size_t skipped,
                              bool coarser) {
  GltfForm form = GltfForm::Binary;
  GltfFormOfPath(path, form);
  std::string text = "Exported " + FileNameOf(path);
  if (form == GltfForm::Text) text += " and " + FileNameOf(BufferPathOf(path));
  text += " (" + GroupedCount(bytes) + " bytes, " + GroupedCount(triangles) + " triangles";
  if (skipped > 0) text += ", " + GroupedCount(skipped) + (skipped == 1 ? " section skipped" : " sections skipped");
  if (coarser) text += ", coarser than 2 cm";
  return text + ")";
}

bool Export3DModel(const TTrack& track, const std::string& documentFile, IFileDialogs& dialogs,
                   IMessages& messages, IShellWindows& windows) {
  FileDialogRequest request;
  request.defaultExtension = kModelExtension;
  request.filter = kModelFilter;
  request.fileName = ModelNameProposal(documentFile);
  request.promptOverwrite = true;
  const auto path = dialogs.Save(request);
  if (!path) return false;
  windows.SetBusy(true);
  const TTrackMesh mesh = BuildTrackMesh(track);
  std::string error;
  const bool written = WriteGltf(mesh, *path, &error);
  windows.SetBusy(false);
  if (!written) {
    ShowFileError(messages, WithReason("Cannot export the 3D model to " + FileNameOf(*path), error));
    return false;
  }
  GltfForm form = GltfForm::Binary;
  GltfFormOfPath(*path, form);
  const uint64_t bytes = SizeOf(*path) + (form == GltfForm::Text ? SizeOf(BufferPathOf(*path)) : 0);
  windows.ShowStatus(
      ModelExportedText(*path, bytes, mesh.TriangleCount(), mesh.warnings.size(), !mesh.coarser.empty()));
  return true;
}

}  // namespace meridal
