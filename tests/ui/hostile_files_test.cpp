// The editor's own message boxes against hostile files: a key written as a link
// shows as text, never as a live link; and a save that could tear the file asks
// first, with Save As... as the default (what the answers do: the shell's tests).
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "files/json/track_json_writer.h"
#include "document/document.h"
#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"
#include "support/failing_calls.h"
#include "ui/main_window.h"
#include "ui/ui_test_main.h"

using namespace meridal;

namespace {

QString WriteJson(const QTemporaryDir& dir, const QString& name, const std::string& key = std::string()) {
  TTrack track;
  track.SetDefaults();
  std::string text = TrackJsonWriter().Write(track);
  if (!key.empty()) text.replace(text.find("\"version\""), 9, "\"" + key + "\": 1, \"version\"");
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(QByteArray::fromStdString(text));
  return path;
}

// What the box that comes up next shows, answered by `answer`.
struct Box {
  QString text;
  Qt::TextFormat format = Qt::AutoText, labelFormat = Qt::AutoText;
  QString defaultButton;
  int buttons = 0;
};
void Watch(Box& seen, const std::function<void(QMessageBox&)>& answer) {
  QTimer::singleShot(0, [&seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    seen.text = box->text();
    seen.format = box->textFormat();
    for (const QLabel* label : box->findChildren<QLabel*>())
      if (label->text() == seen.text) seen.labelFormat = label->textFormat();
    seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    seen.buttons = static_cast<int>(box->buttons().size());
    answer(*box);
  });
}

}  // namespace

class HostileFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void aKeyWrittenAsALinkShowsAsText() {
    QTemporaryDir dir;
    const QString path = WriteJson(dir, QStringLiteral("circuit.json"),
                                   R"(<a href=\"https://example.invalid/fix\">Click here to repair this file</a>)");
    testing::ScriptedFileDialogs dialogs;
    auto files = MakeDiskFiles();
    MainWindowServices services;
    services.fileDialogs = &dialogs;
    services.files = files.get();
    TFormMain window(services);  // its own message boxes
    window.show();
    dialogs.answers = {path.toStdString()};
    Box seen;
    Watch(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    window.FileOpen->trigger();
    QCOMPARE(seen.text, QString::fromUtf8("JSON file, line 3: unknown key \"<a href=\"https://example.invalid/fix\">Cl"
                                          "\u2026\" at the top"));
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.labelFormat, Qt::PlainText);
    QVERIFY(!window.Shell().Track());
  }

  void aSaveThatCouldTearTheFileAsksFirstWithSaveAsTheDefault() {
    QTemporaryDir dir;
    const QString path = WriteJson(dir, QStringLiteral("circuit.json"));
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toLocal8Bit());
    testing::FailingCalls calls;
    calls.folderRefuses = true;
    testing::ScriptedFileDialogs dialogs;
    auto files = MakeDiskFiles(calls);
    MainWindowServices services;
    services.fileDialogs = &dialogs;
    services.files = files.get();
    TFormMain window(services);
    window.show();
    dialogs.answers = {path.toStdString()};
    window.FileOpen->trigger();
    QVERIFY(window.Shell().Track());
    window.Shell().Document()->SetValue(TObjectPath::Track(), "Trace 1", 150000);

    Box seen;
    Watch(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });  // the default
    window.FileSave->trigger();
    QCOMPARE(seen.text, QStringLiteral("The folder does not allow a safe save. Overwrite circuit.json in place? If "
                                       "the save is interrupted the file will be lost."));
    QCOMPARE(seen.defaultButton, QString::fromUtf8("Save As\u2026"));
    QCOMPARE(seen.buttons, 3);
    QCOMPARE(dialogs.asked.size(), size_t{2});  // Save As asked for a name, and was cancelled
    QVERIFY(window.Shell().Modified());
  }
};

MERIDAL_UI_TEST_MAIN(HostileFilesTest)
#include "hostile_files_test.moc"
