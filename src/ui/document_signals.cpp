#include "ui/document_signals.h"

namespace meridal {

void TDocumentSignals::Attach(TDocument* document) {
  if (document == document_) return;
  if (document_) document_->Unsubscribe(listener_);
  document_ = document;
  if (document_) listener_ = document_->Subscribe([this](const TDocumentChange& change) { emit Changed(change); });
  emit Replaced(document_);
}

}  // namespace meridal
