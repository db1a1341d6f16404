#pragma once
// How the shell reaches the files: load a track into an empty one, save it, export
// the track file. The format follows the name's extension (a project file when it
// names none). The program uses the real files; tests may script them.
#include <memory>
#include <string>

#include "files/project/project_io.h"  // FileOutcome
#include "platform/messages.h"

namespace meridal {

class TTrack;

class IDocumentFiles {
 public:
  virtual ~IDocumentFiles() = default;
  virtual FileOutcome Load(const std::string& path, TTrack& track, IMessages& messages) = 0;
  // Saving never destroys the previous file: a failure leaves it as it was. A
  // file whose folder takes no temporary file is not written (CannotOpen with
  // inPlaceNeeded set) ...
  virtual FileOutcome Save(const std::string& path, TTrack& track, IMessages& messages) = 0;
  // ... unless the user allowed this, after being asked.
  virtual FileOutcome SaveInPlace(const std::string& path, TTrack& track, IMessages& messages) {
    return Save(path, track, messages);
  }
  virtual FileOutcome Export(const std::string& path, TTrack& track, IMessages& messages) = 0;
};

// The project and track files on disk. Their filler generator is seeded from the
// clock when they are made, once at the program's start. Saving and exporting go
// through `calls` (a test may make them fail).
std::unique_ptr<IDocumentFiles> MakeDiskFiles(IFileCalls& calls = SystemFileCalls());

}  // namespace meridal
