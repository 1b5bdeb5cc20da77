#pragma once

#include <QLabel>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>

#include "sim/RealTimePacer.h"

class CLoomwiseDoc;

// The status-bar pane of the active cloth: its simulated time and how fast that runs against the
// wall clock, "t = 12.35 s  1.00×", measured over the last two seconds.
class PacePane : public QLabel {
  Q_OBJECT
public:
  static constexpr int kRefreshMs = 250;
  static constexpr std::int64_t kWindowNanoseconds = 2000000000;
  using ActiveDocument = std::function<const CLoomwiseDoc*()>;

  PacePane(ActiveDocument activeDocument, QWidget* parent = nullptr);

  void setClock(NanosecondClock clock);
  // Takes a sample of the active document and shows it; the timer calls it every kRefreshMs.
  void refresh();
  // The timer's turn: refreshes with the next frame if one is coming, so that the window is
  // composed once for both, else at once.
  void refreshSoon();

private:
  struct Sample {
    std::int64_t wall;  // ns
    double simulated;   // s
  };

  ActiveDocument activeDocument;
  NanosecondClock clock;
  const CLoomwiseDoc* sampled = nullptr;  // the document the samples belong to
  std::deque<Sample> samples;
  QTimer timer;
  bool refreshDue = false;  // waiting for the next frame
};
