// The files on disk: any of the three formats read and written through the
// format registry, by the name's extension; the track file export.
#include "files/cipher/filler.h"
#include "files/project/project_io.h"
#include "files/track_formats.h"
#include "shell/document_files.h"

namespace meridal {

namespace {

class DiskFiles : public IDocumentFiles {
 public:
  explicit DiskFiles(IFileCalls& calls) : calls_(calls) {}
  FileOutcome Load(const std::string& path, TTrack& track, IMessages& messages) override {
    return LoadTrackFile(path, std::nullopt, track, messages);
  }
  FileOutcome Save(const std::string& path, TTrack& track, IMessages& messages) override {
    return SaveTrackFile(path, TrackFormatForWriting(path), track, filler_, messages, calls_);
  }
  FileOutcome SaveInPlace(const std::string& path, TTrack& track, IMessages& messages) override {
    ReplaceOptions inPlace;
    inPlace.inPlaceAllowed = true;
    return SaveTrackFile(path, TrackFormatForWriting(path), track, filler_, messages, calls_, inPlace);
  }
  FileOutcome Export(const std::string& path, TTrack& track, IMessages& messages) override {
    return ExportTrackFile(path, track, messages, calls_);
  }

 private:
  IFileCalls& calls_;
  TFiller filler_ = TFiller::FromClock();
};

}  // namespace

std::unique_ptr<IDocumentFiles> MakeDiskFiles(IFileCalls& calls) { return std::make_unique<DiskFiles>(calls); }

}  // namespace meridal
