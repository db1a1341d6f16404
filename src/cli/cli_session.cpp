#include "cli/cli_session.h"

#include <filesystem>
#include <system_error>

#include "cli/cli_document.h"
#include "files/unkept_values.h"
#include "model/track.h"

namespace meridal {

namespace {

// Whether two names lead to the same file: the same file on disk, or (for one that
// does not exist yet) the same absolute name.
bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  std::error_code errorA, errorB;
  const fs::path left = fs::absolute(a, errorA).lexically_normal();
  const fs::path right = fs::absolute(b, errorB).lexically_normal();
  return !errorA && !errorB && left == right;
}

}  // namespace

TCliSession::TCliSession(std::string path, std::string output, Mode mode)
    : path_(std::move(path)), output_(std::move(output)), mode_(mode) {}

TCliSession::~TCliSession() = default;

TDocument* TCliSession::Document(CliIo io) {
  if (tried_) return document_.get();
  tried_ = true;
  std::unique_ptr<TTrack> track = LoadTrack(path_, io, &format_, std::nullopt, &damage_);
  if (!track) return nullptr;
  if (warn_) WarnAboutReadTrack(*track, damage_, path_, io);
  document_ = std::make_unique<TDocument>(std::move(track), path_);
  // Another output file does not hold the document yet: it is written at the end
  // even when nothing changed, as -o always did.
  if (!output_.empty()) document_->MarkNeverClean();
  return document_.get();
}

TrackFormat TCliSession::TargetFormat() const {
  return output_.empty() ? format_ : TrackFormatForWriting(output_);
}

bool TCliSession::Write(const std::string& path, TrackFormat format, CliIo io) {
  const std::vector<std::string> lost = UnkeptValues(document_->Track(), unkeptNames_, format);
  for (const std::string& line : lost) io.err << line << "\n";
  // The writers only read the track.
  return lost.empty() && SaveTrack(const_cast<TTrack&>(document_->Track()), path, io, format, inPlace_);
}

bool TCliSession::SaveToTarget(CliIo io) {
  if (!document_) return false;
  const bool saved = Write(output_.empty() ? path_ : output_, TargetFormat(), io);
  if (saved) document_->MarkSaved();
  return saved;
}

bool TCliSession::SaveTo(const std::string& path, CliIo io) {
  if (!document_) return false;
  if (SameFile(path, output_.empty() ? path_ : output_)) return SaveToTarget(io);
  return Write(path, TrackFormatForWriting(path), io);
}

void TCliSession::KeepJoinedFor(const CliArgs& args) {
  if (document_) document_->SetKeepJoined(KeepJoined || args.Has("--keep-joined"));
}

}  // namespace meridal
