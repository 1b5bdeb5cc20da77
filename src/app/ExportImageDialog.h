#pragma once

#include "toolkit/TemplateDialog.h"

// "Export Image": the width and height in pixels of the image File > Export Image writes, opened
// with the view's size. Only sizes within the range leave the dialog with OK.
class ExportImageDialog : public TemplateDialog {
  Q_OBJECT
public:
  // Large enough for print, small enough for an offscreen framebuffer of any OpenGL we run on.
  static constexpr int kMaxSide = 8192;

  ExportImageDialog();

  int imageWidth = 480;   // pixels, 1 to kMaxSide
  int imageHeight = 360;

protected:
  void doDataExchange(DataExchange& exchange) override;
};
