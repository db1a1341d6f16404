#pragma once
// Pieces the value dialogs share.
#include "present/value_text.h"

class QDialog;
class QEvent;
class QLineEdit;
class QPushButton;
class QWidget;

namespace meridal {

class TValueEntry;

// A read-only field shown grey.
void MakeGrey(QLineEdit& field);
// The "OK" (default) and "Cancel" buttons in a row at the dialog's foot.
QWidget* MakeOkCancel(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);
// Converts the field's pending text in the chosen base; when it is not valid,
// the field shows the restored text with the focus in it, and the result is false.
bool ConvertPendingText(TValueEntry& entry, QLineEdit& field, ValueBase selected);
// Whether an event on a field means the focus moved to another control of the
// same dialog. A switch to another window (a message box, another program)
// leaves the field's text alone.
bool IsFieldExit(const QEvent* event);
// The user's locale's decimal separator, which typed values take beside '.'
// ('.' where the locale's is not a single ASCII character).
char LocaleDecimalSeparator();

}  // namespace meridal
