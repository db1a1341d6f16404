// convert IN OUT: a track from any of the three formats into any of them.
#include <iterator>
#include <istream>
#include <ostream>

#include "cli/cli_document.h"
#include "files/track_formats.h"
#include "model/track.h"

namespace meridal {

namespace {

const char kConvertUsage[] = "convert IN OUT [--from mrd|trk|json] [--to mrd|trk|json] [--in-place]";

// The format an option names; false after a usage message when it names none.
bool FormatOption(const CliArgs& args, const char* option, std::optional<TrackFormat>& format, CliIo io) {
  if (!args.Has(option)) return true;
  format = TrackFormatByName(args.Get(option));
  if (format) return true;
  io.err << "meridal-cli: " << option << " takes mrd, trk or json\n";
  return false;
}

std::unique_ptr<TTrack> ReadStandardInput(std::optional<TrackFormat> format, CliIo io) {
  if (!io.in) {
    io.err << "meridal-cli: there is no standard input to read\n";
    return nullptr;
  }
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(*io.in), std::istreambuf_iterator<char>()};
  StderrMessages messages(io.err);
  auto track = std::make_unique<TTrack>();
  const TrackFormat as = format.value_or(SniffTrackFormat(bytes));
  std::vector<std::string> damage;
  if (!ReadTrackImage(as, std::move(bytes), *track, messages, "standard input", &damage)) return nullptr;
  WarnAboutReadTrack(*track, damage, "standard input", io);
  return track;
}

}  // namespace

int CommandConvert(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, kConvertUsage, io)) return 2;
  std::optional<TrackFormat> from, to;
  if (!FormatOption(args, "--from", from, io) || !FormatOption(args, "--to", to, io)) return 2;
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  if (out == "-" && !to) {
    io.err << "meridal-cli: standard output has no name to tell its format by: add --to mrd|trk|json\n";
    return 2;
  }

  std::vector<std::string> damage;
  auto track = in == "-" ? ReadStandardInput(from, io) : LoadTrack(in, io, nullptr, from, &damage);
  if (!track) return 1;
  if (in != "-") WarnAboutReadTrack(*track, damage, in, io);

  const TrackFormat format = to.value_or(TrackFormatForWriting(out));
  FileLock lock;
  if (out != "-")
    return LockTarget(lock, out, io) && SaveTrack(*track, out, io, format, args.Has("--in-place")) ? 0 : 1;
  StderrMessages messages(io.err);
  TFiller filler = TFiller::FromClock();
  const auto image = WriteTrackImage(format, *track, filler, messages);
  if (!image) return 1;
  // A failed write is told as every command's is (RunCli).
  io.out.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
  return 0;
}

}  // namespace meridal
