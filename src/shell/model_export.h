#pragma once
// File > Export 3D Model...: the open track's surface as a glTF 2.0 file that the
// user names (a .glb, or a .gltf with its .bin beside it). The status bar says
// what was written; a failure shows in a box with the file and the reason, and
// leaves any file that was there as it was.
#include <cstddef>
#include <cstdint>
#include <string>

namespace meridal {

class IFileDialogs;
class IMessages;
class IShellWindows;
class TTrack;

// The name the dialog proposes: the document's, its extension made ".glb"
// ("tracks/circuit.mrd" gives "tracks/circuit.glb"; no name gives "track.glb").
std::string ModelNameProposal(const std::string& documentFile);

// "Exported circuit.glb (1,234,567 bytes, 51,234 triangles)"; a .gltf names its
// .bin too ("Exported circuit.gltf and circuit.bin (...)"), and sections left out
// are counted ("..., 2 sections skipped"), and a mesh made coarser to keep within
// its budget says so ("..., coarser than 2 cm").
std::string ModelExportedText(const std::string& path, uint64_t bytes, size_t triangles, size_t skipped,
                              bool coarser = false);

// Asks for the file and writes it; false when the user cancelled or it failed.
bool Export3DModel(const TTrack& track, const std::string& documentFile, IFileDialogs& dialogs,
                   IMessages& messages, IShellWindows& windows);

}  // namespace meridal
