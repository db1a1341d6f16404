#include "ui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "clipboard/section_payload.h"

namespace meridal {

namespace {

QString MimeType() { return QString::fromLatin1(clipboard::kSectionsMimeType); }

}  // namespace

void QtClipboard::PutSections(const std::string& text) {
  auto* data = new QMimeData;
  data->setData(MimeType(), QByteArray::fromStdString(text));
  data->setText(QString::fromStdString(text));
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard owns it
}

std::optional<std::string> QtClipboard::SectionsText() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return std::nullopt;
  if (data->hasFormat(MimeType())) return data->data(MimeType()).toStdString();
  if (data->hasText()) return data->text().toStdString();
  return std::nullopt;
}

}  // namespace meridal
