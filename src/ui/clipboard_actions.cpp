#include "ui/clipboard_actions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "ui/document_signals.h"

namespace meridal {

TClipboardActions::TClipboardActions(TDocumentShell& shell, TDocumentSignals& documentSignals, QMenu& edit, QObject* parent)
    : QObject(parent), signals_(documentSignals), flow_(shell, clipboard_) {
  const auto add = [&](const char* caption, QKeySequence key, void (TClipboardCommandFlow::*command)()) {
    auto* item = new QAction(QString::fromLatin1(caption), this);  // lives as long as its handler
    edit.addAction(item);
    item->setShortcut(key);
    connect(item, &QAction::triggered, this, [this, command] { (flow_.*command)(); });
    return item;
  };
  edit.addSeparator();
  Cut = add("Cu&t", QKeySequence::Cut, &TClipboardCommandFlow::Cut);
  Copy = add("&Copy", QKeySequence::Copy, &TClipboardCommandFlow::Copy);
  Paste = add("&Paste", QKeySequence::Paste, &TClipboardCommandFlow::Paste);
  edit.addSeparator();
  Reverse = add("Re&verse Track", QKeySequence(), &TClipboardCommandFlow::ReverseTrack);
  Mirror = add("&Mirror Track", QKeySequence(), &TClipboardCommandFlow::MirrorTrack);
  connect(&documentSignals, &TDocumentSignals::Changed, this, [this](const TDocumentChange& change) {
    if (change.selection || change.reset) Refresh();
  });
  connect(&documentSignals, &TDocumentSignals::Replaced, this, [this] { Refresh(); });
  Refresh();
}

void TClipboardActions::Refresh() {
  const TDocument* document = signals_.Document();  // nullptr as soon as the document goes
  Cut->setEnabled(TClipboardCommandFlow::CanCopy(document));
  Copy->setEnabled(TClipboardCommandFlow::CanCopy(document));
  Paste->setEnabled(TClipboardCommandFlow::CanPaste(document));
  Reverse->setEnabled(document != nullptr);
  Mirror->setEnabled(document != nullptr);
}

}  // namespace meridal
