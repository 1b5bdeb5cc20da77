#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class FileDialogKind { Open, Save };

// Asks the user for a file: the path chosen, or empty when cancelled. `suggested` is the file name
// the dialog starts with. Tests put a chooser of their own in place of the dialog.
using FileChooser = std::function<QString(QWidget* parent, FileDialogKind kind, const QString& suggested)>;

// Qt's own file dialog: no filter, no default suffix, asks before overwriting.
QString chooseFileWithDialog(QWidget* parent, FileDialogKind kind, const QString& suggested);
