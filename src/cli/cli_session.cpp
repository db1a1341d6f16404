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

TTrack* TCliSession::Track(CliIo io) {
  if (tried_) return track_.get();
  tried_ = true;
  track_ = LoadTrack(path_, io, &format_, std::nullopt, &damage_);
  if (!track_) return nullptr;
  if (warn_) WarnAboutReadTrack(*track_, damage_, path_, io);
  editor_.emplace(*track_, history_);
  // Another output file does not hold the document yet: it is written at the end
  // even when nothing changed, as -o always did.
  if (!output_.empty()) history_.SetNeverClean();
  return track_.get();
}

bool TCliSession::SaveToTarget(CliIo io) {
  if (!track_) return false;
  const bool saved = output_.empty() ? SaveTrack(*track_, path_, io, format_) : SaveTrack(*track_, output_, io);
  if (saved) history_.SetClean();
  return saved;
}

bool TCliSession::SaveTo(const std::string& path, CliIo io) {
  if (!track_) return false;
  if (SameFile(path, output_.empty() ? path_ : output_)) return SaveToTarget(io);
  return SaveTrack(*track_, path, io);
}

}  // namespace meridal
