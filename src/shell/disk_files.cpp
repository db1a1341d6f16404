// The files on disk, through the project reader. Saving and exporting wait for the
// project writer and the track file writer; until then they cannot open a file.
#include <fstream>
#include <iterator>
#include <vector>

#include "files/project_reader.h"
#include "model/track.h"
#include "shell/document_files.h"

namespace meridal {

namespace {

class DiskFiles : public IDocumentFiles {
 public:
  FileStatus Load(const std::string& path, TTrack& track, IMessages& messages) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileStatus::CannotOpen;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProjectReader reader(bytes, messages);
    return track.ReadProject(reader) ? FileStatus::Ok : FileStatus::Failed;
  }
  FileStatus Save(const std::string&, TTrack&, IMessages&) override { return FileStatus::CannotOpen; }
  FileStatus Export(const std::string&, TTrack&, IMessages&) override { return FileStatus::CannotOpen; }
};

}  // namespace

std::unique_ptr<IDocumentFiles> MakeDiskFiles() { return std::make_unique<DiskFiles>(); }

}  // namespace meridal
