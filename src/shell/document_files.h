#pragma once
// How the shell reaches the files: load a track into an empty one, save it, export
// the track file. The format follows the name's extension (a project file when it
// names none). The program uses the real files; tests may script them.
#include <memory>
#include <string>

#include "files/project_io.h"  // FileStatus
#include "platform/messages.h"

namespace meridal {

class TTrack;

class IDocumentFiles {
 public:
  virtual ~IDocumentFiles() = default;
  virtual FileStatus Load(const std::string& path, TTrack& track, IMessages& messages) = 0;
  // Saving never destroys the previous file: a failure leaves it as it was.
  virtual FileStatus Save(const std::string& path, TTrack& track, IMessages& messages) = 0;
  virtual FileStatus Export(const std::string& path, TTrack& track, IMessages& messages) = 0;
};

// The project and track files on disk. Their filler generator is seeded from the
// clock when they are made, once at the program's start.
std::unique_ptr<IDocumentFiles> MakeDiskFiles();

}  // namespace meridal
