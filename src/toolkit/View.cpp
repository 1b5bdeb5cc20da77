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

QPrinter* View::printer() const {
  DocumentHost* host = document_ != nullptr ? document_->host() : nullptr;
  return host != nullptr ? &host->printer() : nullptr;
}

void View::OnFilePrint() {
  QPrinter* target = printer();
  if (target == nullptr) return;
  QPrintDialog dialog(target, &widget());
  if (dialog.exec() == QDialog::Accepted) printOn(*target);
}

void View::OnFilePrintDirect() {
  if (QPrinter* target = printer()) printOn(*target);
}

void View::OnFilePrintPreview() {
  QPrinter* target = printer();
  if (target == nullptr) return;
  QPrintPreviewDialog preview(target, &widget());
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
