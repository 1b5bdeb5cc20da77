#pragma once

#include <QTimer>
#include <QToolBar>
#include <functional>

class CLoomwiseDoc;
class QSlider;

// The bar under the windows with the active cloth's timeline: a slider over the frames kept
// since its last lay-out, at its right end while the views draw the live cloth. Dragging it back
// while the cloth is stopped shows a kept frame; running on brings it back to the end.
class TimelineBar : public QToolBar {
  Q_OBJECT
public:
  static constexpr int kRefreshMs = 250;
  using ActiveDocument = std::function<CLoomwiseDoc*()>;

  explicit TimelineBar(ActiveDocument activeDocument, QWidget* parent = nullptr);

  QSlider& slider() const { return *slider_; }
  // Follows the active document: its kept frames, the one shown, and whether it runs (the slider
  // is greyed then, and without a document). Every frame and every kRefreshMs call it.
  void refresh();

signals:
  // The user moved the slider: the views show another frame.
  void frameChosen();

private:
  ActiveDocument activeDocument;
  QSlider* slider_;
  QTimer timer;
};
