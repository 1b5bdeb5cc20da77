#include "toolkit/View.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "toolkit/Document.h"
#include "toolkit/DocumentHost.h"
#include "toolkit/PrintedPage.h"

View::~View() {
  if (document_ != nullptr) document_->removeView(*this);
}

QMdiSubWindow* View::frame() { return qobject_cast<QMdiSubWindow*>(widget().parentWidget()); }

QPrinter& View::printer() const {
  // Print commands reach a view through its frame in the main window: it shows a document there.
  Q_ASSERT(document_ != nullptr && document_->host() != nullptr);
  return document_->host()->printer();
}

void View::OnFilePrint() {
  QPrintDialog dialog(&printer(), &widget());
  if (dialog.exec() == QDialog::Accepted) printOn(printer());
}

void View::OnFilePrintDirect() { printOn(printer()); }

void View::OnFilePrintPreview() {
  QPrintPreviewDialog preview(&printer(), &widget());
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                   [this](QPrinter* printer) { printOn(*printer); });
  preview.exec();
}

void View::printOn(QPrinter& printer) {
  const QImage picture = printedPicture();
  QPainter painter(&printer);
  if (!painter.isActive()) {
    QMessageBox::warning(&widget(), QCoreApplication::applicationName(),
                         QCoreApplication::translate("View", "The printer could not be started."));
    return;
  }
  paintPictureOnPage(painter, painter.viewport(), picture);
}
