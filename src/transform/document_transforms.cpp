#include "transform/document_transforms.h"

#include "document/document.h"
#include "transform/rewrite_steps.h"

namespace meridal::transform {

history::Outcome ReverseTrack(TDocument& document, std::string& reason) {
  const TObjectPath selection = document.Selection();
  return document.Change([&](history::TEditor& editor) {
    return editor.Record(history::TReverseTrackStep::Do(editor.Track(), selection, reason), false);
  });
}

history::Outcome MirrorTrack(TDocument& document, std::string& reason) {
  const TObjectPath selection = document.Selection();
  return document.Change([&](history::TEditor& editor) {
    return editor.Record(history::TMirrorTrackStep::Do(editor.Track(), selection, reason), false);
  });
}

}  // namespace meridal::transform
