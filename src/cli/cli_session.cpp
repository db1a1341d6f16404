#include "cli/cli_session.h"

#include <filesystem>
#include <system_error>

#include "cli/cli_document.h"
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
  std::unique_ptr<TTrack> track = LoadTrack(path_, io, &format_);
  if (!track) return nullptr;
  document_ = std::make_unique<TDocument>(std::move(track), path_);
  // Another output file does not hold the document yet: it is written at the end
  // even when nothing changed, as -o always did.
  if (!output_.empty()) document_->MarkNeverClean();
  return document_.get();
}

bool TCliSession::SaveToTarget(CliIo io) {
  if (!document_) return false;
  TTrack& track = const_cast<TTrack&>(document_->Track());  // the writers only read it
  const bool saved = output_.empty() ? SaveTrack(track, path_, io, format_) : SaveTrack(track, output_, io);
  if (saved) document_->MarkSaved();
  return saved;
}

bool TCliSession::SaveTo(const std::string& path, CliIo io) {
  if (!document_) return false;
  if (SameFile(path, output_.empty() ? path_ : output_)) return SaveToTarget(io);
  return SaveTrack(const_cast<TTrack&>(document_->Track()), path, io);
}

}  // namespace meridal
