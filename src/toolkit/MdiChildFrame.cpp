#include "toolkit/MdiChildFrame.h"

#include <QCloseEvent>

#include "toolkit/Document.h"
#include "toolkit/View.h"

MdiChildFrame::MdiChildFrame() { setAttribute(Qt::WA_DeleteOnClose); }

void MdiChildFrame::setView(View& view) {
  view_ = &view;
  setWidget(&view.widget());
}

void MdiChildFrame::updateTitle(int number, int windows) {
  const Document* document = view_ != nullptr ? view_->document() : nullptr;
  if (document == nullptr) return;
  QString title = document->title();
  if (windows > 1) title += QStringLiteral(":%1").arg(number);
  setWindowTitle(title);
}

void MdiChildFrame::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  if (!event->isAccepted() || view_ == nullptr) return;
  // The frame is deleted later; the view must stop working and leave its document now.
  View* closing = view_;
  view_ = nullptr;
  closing->OnDestroy();
  if (Document* document = closing->document()) document->removeView(*closing);
  emit frameClosed(this);
}
