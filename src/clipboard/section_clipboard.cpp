#include "clipboard/section_clipboard.h"

#include "clipboard/section_payload.h"
#include "document/document.h"
#include "clipboard/paste_step.h"
#include "model/track.h"

namespace meridal::clipboard {

std::string CopySelectedRun(const TDocument& document) {
  return SectionsPayload(document.Track(), document.SelectedRun());
}

history::Outcome PasteSections(TDocument& document, std::string_view text, int after, std::string& reason) {
  TTrack source;
  std::string error;
  if (!ReadSectionsPayload(text, source, error)) {
    reason = "The text is not a list of sections: " + error;
    return history::Outcome::Refused;
  }
  return document.Change([&](history::TEditor& editor) {
    return editor.Record(history::TPasteSectionsStep::Do(editor.Track(), after, source, reason), false);
  }, after + 1);
}

}  // namespace meridal::clipboard
