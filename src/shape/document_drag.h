#pragma once
// TDocumentDrag: a drag of a section's handle on a document. Every move is
// shown to every view at once (the plan, the list, the profile, the check
// window, the tree's labels); the release keeps the whole drag as one step of
// the history, and Cancel puts the track back exactly as it was and shows that.
//
//   TDocumentDrag drag(document, 3, Handle::End, grab, options);
//   drag.Move(p);          // each pointer move
//   drag.Release();        // one step: "Drag End of Section 3"
#include <functional>
#include <memory>

#include "document/document.h"
#include "shape/shape_drag.h"

namespace meridal::shape {

class TDocumentDrag {
 public:
  TDocumentDrag(TDocument& document, int section, Handle handle, TPointD grab, TDragOptions options);
  // Ends the drag as Cancel does when neither Release nor Cancel came.
  ~TDocumentDrag();

  const TDragMove& Move(TPointD p);
  // The handle given a typed value exactly (see TypedAim).
  const TDragMove& MoveTo(const TAim& aim);
  // The drag as one step; Unchanged when the track is as it was.
  TDocument::Outcome Release();
  void Cancel();

  bool Active() const { return drag_ != nullptr; }
  // The drag, while it lasts (for the read-out and the snap rules).
  TShapeDrag* Drag() const { return drag_.get(); }
  const TDragMove& LastMove() const { return last_; }

 private:
  // One move of the drag, shown to every view.
  const TDragMove& Show(const std::function<TDragMove()>& move);

  TDocument& document_;
  std::unique_ptr<TShapeDrag> drag_;
  TDragMove last_;
};

// The whole drag of the command line: the handle let go at `p`, kept as one
// step. Refused (the track untouched, `stop` saying why) when the value is one
// the handle stops at.
TDocument::Outcome DragOnce(TDocument& document, int section, Handle handle, TPointD p, TDragOptions options,
                            Stop& stop);

}  // namespace meridal::shape
