#pragma once

#include <QMdiSubWindow>

#include "toolkit/CommandTarget.h"

class View;

// The child frame around one view. Its title is the document's, numbered ":1", ":2"… while the
// document has more than one window. Closing it takes its view out of the document.
class MdiChildFrame : public QMdiSubWindow, public CommandTarget {
  Q_OBJECT
public:
  MdiChildFrame();

  void setView(View& view);
  View* view() const { return view_; }
  // Index among the document's windows is `number` (1-based) of `windows`.
  void updateTitle(int number, int windows);

signals:
  void frameClosed(MdiChildFrame* frame);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  View* view_ = nullptr;
};
