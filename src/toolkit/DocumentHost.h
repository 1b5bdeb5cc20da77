#pragma once

#include <QString>

#include "toolkit/FileDialogs.h"

class QPrinter;
class QWidget;

// What a document and its views ask of the program they run in: the main window their panels
// and messages belong to, a file chosen by the user, the recent-file list and the printer.
class DocumentHost {
public:
  virtual QWidget* mainWindow() const = 0;
  virtual QString chooseFile(FileDialogKind kind, const QString& suggested = {}) = 0;
  virtual void addRecentFile(const QString& path) = 0;
  virtual QPrinter& printer() = 0;

protected:
  ~DocumentHost() = default;
};
