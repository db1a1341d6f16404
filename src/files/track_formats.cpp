#include "files/track_formats.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "files/project/project_format.h"
#include "files/track_format_heads.h"
#include "files/trackfile/track_import.h"
#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "model/track.h"

namespace meridal {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The extension's position (its dot) in the file name part, or npos.
size_t ExtensionDot(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::string_view::npos;
  if (dot == (slash == std::string_view::npos ? 0 : slash + 1)) return std::string_view::npos;  // ".hidden"
  return dot;
}

}  // namespace

std::optional<TrackFormat> TrackFormatByName(std::string_view name) {
  for (TrackFormat f : {TrackFormat::Project, TrackFormat::TrackFile, TrackFormat::Json})
    if (SameLetters(name, TrackFormatExtension(f))) return f;
  return std::nullopt;
}

const char* TrackFormatExtension(TrackFormat format) {
  switch (format) {
    case TrackFormat::TrackFile: return "trk";
    case TrackFormat::Json: return "json";
    case TrackFormat::Project: break;
  }
  return "mrd";
}

std::optional<TrackFormat> TrackFormatOfPath(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string_view::npos) return std::nullopt;
  return TrackFormatByName(path.substr(dot + 1));
}

TrackFormat SniffTrackFormat(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "KART")) return TrackFormat::TrackFile;
  for (uint8_t c : bytes) {
    if (c == '{') return TrackFormat::Json;
    if (!std::isspace(c)) break;
  }
  return TrackFormat::Project;
}

TrackFormat TrackFormatForWriting(std::string_view path) {
  return TrackFormatOfPath(path).value_or(TrackFormat::Project);
}

std::string WithExtension(const std::string& path, TrackFormat format) {
  const size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "." + TrackFormatExtension(format);
}

bool ReadTrackImage(TrackFormat format, std::vector<uint8_t>&& image, TTrack& track, IMessages& messages) {
  switch (format) {
    case TrackFormat::TrackFile: return ReadTrackFileImage(image, track, messages);
    case TrackFormat::Json: return ReadTrackJsonImage(image, track, messages);
    case TrackFormat::Project: break;
  }
  return ReadProjectImage(std::move(image), track, messages);
}

std::optional<std::vector<uint8_t>> WriteTrackImage(TrackFormat format, TTrack& track, TFiller& filler,
                                                    IMessages& messages) {
  switch (format) {
    case TrackFormat::TrackFile: return ExportTrackImage(track, messages);
    case TrackFormat::Json:
      try {
        const std::string text = TrackJsonWriter().Write(track);
        return std::vector<uint8_t>(text.begin(), text.end());
      } catch (const std::bad_alloc&) {
        ShowFileError(messages, kTrackWriteError);
        return std::nullopt;
      }
    case TrackFormat::Project: break;
  }
  return WriteProjectImage(track, filler, messages);
}

FileOutcome LoadTrackFile(const std::string& path, std::optional<TrackFormat> format, TTrack& track,
                          IMessages& messages, TrackFormat* used) {
  if (!format) format = TrackFormatOfPath(path);
  // The format looks at the file's first bytes before the rest is read.
  const HeadCheck check = [&](std::span<const uint8_t> head, uint64_t size) {
    if (!format) format = SniffTrackFormat(head);
    if (head.size() == size) return true;  // all of it: the reader says what is wrong, if anything
    const auto refusal = HeadRefusal(*format, head, size);
    if (refusal) ShowFileError(messages, *refusal);
    return !refusal;
  };
  FileOutcome outcome;
  auto image = ReadFileImage(path, messages, outcome, kMaxProjectFileBytes, check);
  if (!image) return outcome;
  if (used) *used = *format;
  if (!ReadTrackImage(*format, std::move(*image), track, messages)) outcome.status = FileStatus::Failed;
  return outcome;
}

FileOutcome SaveTrackFile(const std::string& path, TrackFormat format, TTrack& track, TFiller& filler,
                          IMessages& messages, IFileCalls& calls, const ReplaceOptions& options) {
  const auto image = WriteTrackImage(format, track, filler, messages);
  if (!image) return FileOutcome::Failed();
  return WriteImageFile(path, *image, messages, calls, options);
}

}  // namespace meridal
