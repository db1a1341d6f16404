#include "shape/document_drag.h"

#include "model/track.h"

namespace meridal::shape {

TDocumentDrag::TDocumentDrag(TDocument& document, int section, Handle handle, TPointD grab, TDragOptions options)
    : document_(document) {
  // The drag keeps what it may change from here on; the track itself is only
  // reached through the document.
  document.Preview([&](TTrack& track) {
    drag_ = std::make_unique<TShapeDrag>(track, section, handle, grab, options);
    return TTrackChange{};
  });
}

TDocumentDrag::~TDocumentDrag() {
  if (drag_) Cancel();
}

const TDragMove& TDocumentDrag::Move(TPointD p) { return Show([&] { return drag_->Move(p); }); }

const TDragMove& TDocumentDrag::MoveTo(const TAim& aim) { return Show([&] { return drag_->MoveTo(aim); }); }

const TDragMove& TDocumentDrag::Show(const std::function<TDragMove()>& move) {
  if (!drag_) return last_;
  document_.Preview([&](TTrack&) {
    last_ = move();
    // A move that changed nothing needs no redraw of the track.
    return last_.changed || last_.stop != Stop::None ? last_.change : TTrackChange{};
  });
  return last_;
}

TDocument::Outcome TDocumentDrag::Release() {
  if (!drag_) return TDocument::Outcome::Unchanged;
  std::unique_ptr<history::TStep> step = drag_->Finish();
  const TTrackChange shown = last_.change;
  drag_.reset();
  if (!step) return TDocument::Outcome::Unchanged;
  const TDocument::Outcome outcome =
      document_.Change([&](history::TEditor& editor) { return editor.Record(std::move(step)); });
  // A step the editor refused was taken back: the views saw it live.
  if (outcome == TDocument::Outcome::Refused) document_.Preview([&](TTrack&) { return shown; });
  return outcome;
}

void TDocumentDrag::Cancel() {
  if (!drag_) return;
  document_.Preview([&](TTrack&) { return drag_->Cancel(); });
  drag_.reset();
}

TDocument::Outcome DragOnce(TDocument& document, int section, Handle handle, TPointD p, TDragOptions options,
                            Stop& stop) {
  stop = Stop::None;
  if (section < 0 || section >= document.Track().NumberOfSections()) {
    stop = Stop::Refused;
    return TDocument::Outcome::Refused;
  }
  return document.Change([&](history::TEditor& editor) {
    TTrack& track = editor.Track();
    const TSection& s = *track.Section(section);
    if (!HasHandle(s, handle)) {
      stop = Stop::Refused;
      return TDocument::Outcome::Refused;
    }
    // A move takes the start to the point: it is grabbed at the start.
    TShapeDrag drag(track, section, handle, {s.StartX(), s.StartY()}, options);
    stop = drag.Move(p).stop;
    if (stop != Stop::None) {
      drag.Cancel();
      return TDocument::Outcome::Refused;
    }
    std::unique_ptr<history::TStep> step = drag.Finish();
    if (!step) return TDocument::Outcome::Unchanged;
    return editor.Record(std::move(step));
  });
}

}  // namespace meridal::shape
