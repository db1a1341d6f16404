#pragma once
// TSaveGuard: what stands between the Save command and the file on disk. It
// remembers the file as the document last read or wrote it (size, time, hash),
// holds the file's lock while it is written, and asks first before a save that
// may cost data: over a file another program changed since, and in place where
// the folder takes no temporary file. Both questions offer Overwrite, Save As...
// (the default) and Cancel.
#include <string>

#include "files/safety/file_stamp.h"
#include "shell/document_files.h"

namespace meridal {

class IMessages;
class TTrack;

// "circuit.mrd was changed by another program since you opened it."
std::string ChangedOnDiskText(const std::string& path);
// "The folder does not allow a safe save. Overwrite circuit.mrd in place? If the
// save is interrupted the file will be lost."
std::string InPlaceQuestionText(const std::string& path);

class TSaveGuard {
 public:
  TSaveGuard(IDocumentFiles& files, IMessages& messages) : files_(files), messages_(messages) {}

  // The document was read from or written to `path`: the file as it is now.
  void Remember(const std::string& path, const FileOutcome& outcome);

  enum class Result {
    Saved,
    Failed,     // the failure has been shown, or is told by the outcome's status
    SaveAs,     // the user chose Save As... instead
    Cancelled,  // nothing was written
  };
  // Writes the track to `path` as the files do, asking first where that may
  // cost data; `outcome` is the files' own.
  Result Save(const std::string& path, TTrack& track, FileOutcome& outcome);

 private:
  IDocumentFiles& files_;
  IMessages& messages_;
  std::string path_;
  FileStamp stamp_;
};

}  // namespace meridal
