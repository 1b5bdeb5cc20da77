#include "toolkit/MdiChildFrame.h"

#include <QCloseEvent>
#include <utility>

#include "toolkit/View.h"

MdiChildFrame::MdiChildFrame() { setAttribute(Qt::WA_DeleteOnClose); }

void MdiChildFrame::setView(View& view) {
  view_ = &view;
  setWidget(&view.widget());
}

void MdiChildFrame::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  if (!event->isAccepted() || view_ == nullptr) return;
  // The frame is deleted later; the view must stop working now.
  View* closing = std::exchange(view_, nullptr);
  closing->OnDestroy();
  emit frameClosed(this, closing);
}
