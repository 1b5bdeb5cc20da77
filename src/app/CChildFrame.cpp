#include "app/CChildFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QImageWriter>
#include <QMessageBox>
#include <QSaveFile>

#include "app/ExportImageDialog.h"
#include "app/Resource.h"
#include "toolkit/Document.h"
#include "toolkit/DocumentHost.h"
#include "view/CLoomwiseView.h"

namespace {

void warn(QWidget* parent, const QString& text, const QString& detail) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.setInformativeText(detail);
  box.exec();
}

}  // namespace

CChildFrame::CChildFrame() {
  setWindowIcon(QIcon(QStringLiteral(":/icons/document.xpm")));
  onCommand(ID_FILE_EXPORT_IMAGE, [this] { OnFileExportImage(); });
}

void CChildFrame::OnFileExportImage() {
  auto* view = dynamic_cast<CLoomwiseView*>(this->view());
  DocumentHost* host = view != nullptr && view->document() != nullptr ? view->document()->host() : nullptr;
  if (host == nullptr) return;
  const QString path = host->chooseFile(FileDialogKind::Save, view->document()->title() + QStringLiteral(".png"));
  if (path.isEmpty()) return;
  ExportImageDialog dialog;
  const qreal ratio = view->devicePixelRatioF();
  dialog.imageWidth = qRound(view->width() * ratio);
  dialog.imageHeight = qRound(view->height() * ratio);
  if (dialog.doModal() != QDialog::Accepted) return;
  const QImage image = view->renderedImage({dialog.imageWidth, dialog.imageHeight});
  if (image.isNull())
    return warn(host->mainWindow(), tr("The view could not be drawn at %1 × %2 pixels.").arg(dialog.imageWidth).arg(dialog.imageHeight),
                tr("Try a smaller size."));
  // Written aside and put in place whole: a failure leaves any earlier file as it was.
  QSaveFile file(path);
  QImageWriter writer(&file, "png");
  const bool saved = file.open(QIODevice::WriteOnly) && writer.write(image) && file.commit();
  if (!saved)
    warn(host->mainWindow(), tr("The image could not be saved."),
         QDir::toNativeSeparators(path) + QStringLiteral(": ") +
             (writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString()));
}
