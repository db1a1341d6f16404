// Commands that copy and paste runs of sections and turn the whole track: copy,
// paste, reverse, mirror. A one-shot copy prints the sections' text and a
// one-shot paste reads it from standard input; in a batch both use the batch's
// own clipboard. A refusal prints the editor's message and its reason, exits 1
// and writes nothing.
#include <cctype>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "cli/object_path.h"
#include "clipboard/section_clipboard.h"
#include "files/safety/shown_text.h"
#include "model/track.h"
#include "present/object_labels.h"
#include "present/value_text.h"
#include "shell/shell_texts.h"
#include "transform/document_transforms.h"

namespace meridal {

namespace {

// "section A-B" (or "section N", one section), case-insensitive; "-" may stand for
// the blank: "section-2-4". A range written backwards is told in `problem`.
std::optional<TSectionRun> ParseRun(const std::string& text, std::string& problem) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string word = "section";
  if (lower.size() < word.size() + 2 || lower.compare(0, word.size(), word) != 0) return std::nullopt;
  if (lower[word.size()] != ' ' && lower[word.size()] != '-') return std::nullopt;
  const std::string numbers = lower.substr(word.size() + 1);
  if (numbers.find('-') != std::string::npos) return ParseSectionRange(numbers, &problem);
  const auto only = ParseCanonicalDecimal(numbers);
  if (!only || *only < 0) return std::nullopt;
  return TSectionRun{*only, *only};
}

int Refused(CliIo io, const std::string& refusal, const std::string& reason) {
  io.err << WithReason(refusal, reason) << "\n";
  return 1;
}

}  // namespace

int RunCopy(TCliSession& session, const CliArgs& args, CliIo io) {
  std::string problem;
  const auto run = ParseRun(args.positional[0], problem);
  if (!problem.empty()) io.err << "meridal-cli: " << ShownPath(problem) << "\n";
  if (!run) return kShowUsage;
  TDocument* document = session.Document(io);
  if (!document) return 1;
  if (run->last >= document->Track().NumberOfSections()) {
    io.err << "meridal-cli: the track has no section " << run->last << "\n";
    return 1;
  }
  document->SelectRun(run->first, run->last);
  const std::string text = clipboard::CopySelectedRun(*document);
  if (session.SavesAtOnce()) io.out << text;
  else session.Clipboard = text;
  return 0;
}

int RunPaste(TCliSession& session, const CliArgs& args, CliIo io) {
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const TBase* object = FindObject(document->Track(), args.positional[0], io);
  if (!object) return 1;
  const TObjectPath path = PathOf(*object);
  if (path.kind != TObjectPath::Kind::Section) {
    io.err << "meridal-cli: sections are pasted after a section, not after " << ShownPath(args.positional[0]) << "\n";
    return 1;
  }
  std::string text;
  if (session.SavesAtOnce()) {
    if (!io.in) {
      io.err << "meridal-cli: there is no standard input to read\n";
      return 2;
    }
    text.assign(std::istreambuf_iterator<char>(*io.in), std::istreambuf_iterator<char>());
  } else if (session.Clipboard.empty()) {
    io.err << "meridal-cli: nothing to paste: copy sections first\n";
    return 1;
  } else {
    text = session.Clipboard;
  }
  std::string reason;
  session.KeepJoinedFor(args);
  if (clipboard::PasteSections(*document, text, path.section, reason) == history::Outcome::Refused)
    return Refused(io, RefusalText("Cannot paste after", Label(*object)), reason);
  return 0;
}

int RunReverse(TCliSession& session, const CliArgs&, CliIo io) {
  TDocument* document = session.Document(io);
  if (!document) return 1;
  std::string reason;
  if (transform::ReverseTrack(*document, reason) == history::Outcome::Refused)
    return Refused(io, RefusalText("Cannot reverse", "Track"), reason);
  return 0;
}

int RunMirror(TCliSession& session, const CliArgs&, CliIo io) {
  TDocument* document = session.Document(io);
  if (!document) return 1;
  std::string reason;
  if (transform::MirrorTrack(*document, reason) == history::Outcome::Refused)
    return Refused(io, RefusalText("Cannot mirror", "Track"), reason);
  return 0;
}

int CommandCopy(const CliArgs& args, CliIo io) { return RunOneShotCommand("copy", args, io); }
int CommandPaste(const CliArgs& args, CliIo io) { return RunOneShotCommand("paste", args, io); }
int CommandReverse(const CliArgs& args, CliIo io) { return RunOneShotCommand("reverse", args, io); }
int CommandMirror(const CliArgs& args, CliIo io) { return RunOneShotCommand("mirror", args, io); }

}  // namespace meridal
