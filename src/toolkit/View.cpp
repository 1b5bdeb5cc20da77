#include "toolkit/View.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

#include "toolkit/Application.h"
#include "toolkit/Document.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/PrintedPage.h"

View::~View() {
  if (document_ != nullptr) document_->removeView(*this);
}

MdiChildFrame* View::frame() { return qobject_cast<MdiChildFrame*>(widget().parentWidget()); }

void View::OnFilePrint() {
  QPrinter& printer = Application::instance()->printer();
  QPrintDialog dialog(&printer, &widget());
  if (dialog.exec() == QDialog::Accepted) printOn(printer);
}

void View::OnFilePrintDirect() { printOn(Application::instance()->printer()); }

void View::OnFilePrintPreview() {
  QPrintPreviewDialog preview(&Application::instance()->printer(), &widget());
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
