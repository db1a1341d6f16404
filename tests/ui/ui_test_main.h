#pragma once
// The main() of every Qt Test suite of the desktop application. Before anything
// of Qt starts, the suite's settings are sent to a folder of its own: Qt's file
// dialog and anything else that keeps settings must never write into the
// settings of the person running the tests.
#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>

namespace meridal::testing {

// Points the XDG folders at a temporary folder for the lifetime of the process.
inline void IsolateSettings() {
  static QTemporaryDir home;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
    qputenv(name, QByteArray(home.path().toLocal8Bit() + '/' + QByteArray(name).toLower()));
}

}  // namespace meridal::testing

#define MERIDAL_UI_TEST_MAIN(TestObject)        \
  int main(int argc, char* argv[]) {            \
    meridal::testing::IsolateSettings();        \
    QApplication app(argc, argv);               \
    app.setAttribute(Qt::AA_Use96Dpi, true);    \
    TestObject tc;                              \
    return QTest::qExec(&tc, argc, argv);       \
  }
