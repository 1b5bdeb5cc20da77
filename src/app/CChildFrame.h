#pragma once

#include "toolkit/MdiChildFrame.h"

// The child frame of a document's view; it adds the document icon and File > Export Image.
class CChildFrame : public MdiChildFrame {
  Q_OBJECT
public:
  CChildFrame();

  // File > Export Image: asks for a file and a size (the view's own unless changed) and writes
  // the view drawn at that size as PNG; what fails is told with the reason.
  void OnFileExportImage();
};
