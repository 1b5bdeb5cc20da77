#pragma once

#include <QMdiSubWindow>

#include "toolkit/CommandTarget.h"

class View;

// The child frame around one view. Closing it stops the view's work and says so, so that the
// document manager takes the view out of its document.
class MdiChildFrame : public QMdiSubWindow, public CommandTarget {
  Q_OBJECT
public:
  MdiChildFrame();

  // The frame owns the view's widget from here on.
  void setView(View& view);
  View* view() const { return view_; }

signals:
  // `view`: the view it held, still alive until the frame is deleted.
  void frameClosed(MdiChildFrame* frame, View* view);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  View* view_ = nullptr;
};
