#pragma once

#include "toolkit/MdiFrame.h"

// The main window: menus 128 and 129, the toolbar and the dialog bar as two bands at the top, and
// the status bar with its message pane and the CAP, NUM and SCRL indicators.
class CMainFrame : public MdiFrame {
  Q_OBJECT
public:
  CMainFrame();

private:
  void createDialogBar();
};
