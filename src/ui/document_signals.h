#pragma once
// TDocumentSignals: the open document's announcements as Qt signals, for the
// windows to connect to. It follows whichever document the shell holds.
#include <QObject>

#include "document/document.h"

namespace meridal {

class TDocumentSignals : public QObject {
  Q_OBJECT

 public:
  explicit TDocumentSignals(QObject* parent = nullptr) : QObject(parent) {}
  ~TDocumentSignals() override { Attach(nullptr); }

  // Listens to `document` from now on (nullptr: to none), and says so.
  void Attach(TDocument* document);
  TDocument* Document() const { return document_; }

 signals:
  // What changed in the document listened to.
  void Changed(const meridal::TDocumentChange& change);
  // Another document (or none) is open: views start over.
  void Replaced(meridal::TDocument* document);

 private:
  TDocument* document_ = nullptr;
  int listener_ = 0;
};

}  // namespace meridal
