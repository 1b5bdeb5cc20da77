#pragma once

#include "toolkit/MdiFrame.h"

class FramePane;
class PacePane;
class TimelineBar;

// The main window: menus 128 and 129, the toolbar and the dialog bar as two bands at the top, and
// the status bar with its message pane and the CAP, NUM and SCRL indicators.
class CMainFrame : public MdiFrame {
  Q_OBJECT
public:
  CMainFrame();

  // Simulation > Real Time: every running view keeps to the wall clock; remembered between runs.
  void OnViewRealTime();
  void OnUpdateViewRealTime(CommandUi& ui);

  PacePane* pacePane;
  FramePane* framePane;
  TimelineBar* timelineBar;
  // Simulation > Real Time, which every cloth's run timer follows.
  bool realTime = false;

private:
  QWidget* createDialogBar();
  // Shows the panels of the active document alone.
  void followActiveDocument();
};
