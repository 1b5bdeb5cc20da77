#pragma once

#include <QStatusBar>
#include <QTimer>
#include <map>

class QLabel;

// The frame's status bar: a message pane that shows the idle text ("Ready") whenever no command
// prompt is being shown, and key-state indicators that are dimmed while their lock key is off.
class FrameStatusBar : public QStatusBar {
  Q_OBJECT
public:
  static constexpr int kIndicatorPollMs = 250;

  FrameStatusBar(QWidget& frame, const QString& idleText);

  // ID_INDICATOR_CAPS, ID_INDICATOR_NUM or ID_INDICATOR_SCRL, with the text it shows.
  void addIndicator(int id, const QString& text);
  QLabel* messagePane() const { return pane; }
  void updateIndicators();

private:
  QLabel* pane;
  std::map<int, QLabel*> indicators;
  QTimer poll;
};
