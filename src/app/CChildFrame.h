#pragma once

#include "toolkit/MdiChildFrame.h"

// The child frame of a document's view; it adds only the document icon.
class CChildFrame : public MdiChildFrame {
  Q_OBJECT
public:
  CChildFrame();
};
