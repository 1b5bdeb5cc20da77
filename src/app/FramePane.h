#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>

class CLoomwiseDoc;

// The status-bar pane of the active cloth's timeline: the frame the views draw and its simulated
// time, "Frame 12  t = 0.396 s", and while recording the frames written and the files' size,
// "34 frames written, 1.2 MB".
class FramePane : public QLabel {
  Q_OBJECT
public:
  static constexpr int kRefreshMs = 250;
  using ActiveDocument = std::function<const CLoomwiseDoc*()>;

  explicit FramePane(ActiveDocument activeDocument, QWidget* parent = nullptr);

  // Shows the active document as it is now; every frame and every kRefreshMs call it.
  void refresh();

private:
  ActiveDocument activeDocument;
  QTimer timer;
};
