#include "toolkit/FileDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>

QString chooseFileWithDialog(QWidget* parent, FileDialogKind kind, const QString& suggested) {
  const bool open = kind == FileDialogKind::Open;
  QFileDialog dialog(parent, open ? QCoreApplication::translate("FileDialogs", "Open")
                                  : QCoreApplication::translate("FileDialogs", "Save As"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}
