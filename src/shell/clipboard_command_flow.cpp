#include "shell/clipboard_command_flow.h"

#include <string>

#include "clipboard/section_clipboard.h"
#include "document/document.h"
#include "model/track.h"
#include "platform/clipboard.h"
#include "present/object_labels.h"
#include "present/run_rows.h"
#include "shell/document_shell.h"
#include "shell/shell_texts.h"
#include "transform/document_transforms.h"

namespace meridal {

bool TClipboardCommandFlow::CanCopy(const TDocument* document) {
  return document && !document->SelectedRun().Empty();
}

bool TClipboardCommandFlow::CanPaste(const TDocument* document) { return CanCopy(document); }

void TClipboardCommandFlow::Copy() {
  TDocument* document = shell_.Document();
  if (!CanCopy(document)) return;
  clipboard_.PutSections(clipboard::CopySelectedRun(*document));
}

void TClipboardCommandFlow::Cut() {
  TDocument* document = shell_.Document();
  if (!CanCopy(document)) return;
  const TSectionRun run = document->SelectedRun();
  if (run.Count() >= document->Track().NumberOfSections()) {
    ShowRefusal(shell_.Messages(), RefusalText("Cannot cut", RunLabel(document->Track(), run)));
    return;
  }
  clipboard_.PutSections(clipboard::CopySelectedRun(*document));
  document->RemoveRun("Cut");
}

void TClipboardCommandFlow::Paste() {
  TDocument* document = shell_.Document();
  if (!CanPaste(document)) return;
  const int after = document->SelectedRun().last;
  const std::string refusal = RefusalText("Cannot paste after", Label(*document->Track().Section(after)));
  const auto text = clipboard_.SectionsText();
  if (!text || text->empty()) {
    ShowRefusal(shell_.Messages(), WithReason(refusal, "The clipboard holds no text."));
    return;
  }
  std::string reason;
  if (clipboard::PasteSections(*document, *text, after, reason) == history::Outcome::Refused)
    ShowRefusal(shell_.Messages(), WithReason(refusal, reason));
}

void TClipboardCommandFlow::ReverseTrack() {
  TDocument* document = shell_.Document();
  if (!document) return;
  std::string reason;
  if (transform::ReverseTrack(*document, reason) == history::Outcome::Refused)
    ShowRefusal(shell_.Messages(), WithReason(RefusalText("Cannot reverse", "Track"), reason));
}

void TClipboardCommandFlow::MirrorTrack() {
  TDocument* document = shell_.Document();
  if (!document) return;
  std::string reason;
  if (transform::MirrorTrack(*document, reason) == history::Outcome::Refused)
    ShowRefusal(shell_.Messages(), WithReason(RefusalText("Cannot mirror", "Track"), reason));
}

}  // namespace meridal
