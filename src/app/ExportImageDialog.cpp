#include "app/ExportImageDialog.h"

#include "app/Resource.h"
#include "toolkit/DataExchange.h"

namespace {

// In dialog units; template order is the tab order.
DialogTemplate exportImageTemplate() {
  return {"Export Image", 136, 63, false,
          {{kNoControlId, DialogItemKind::StaticRight, "Width (pixels):", 7, 9, 66, 8},
           {IDC_IMAGE_WIDTH, DialogItemKind::Edit, "", 79, 7, 50, 12},
           {kNoControlId, DialogItemKind::StaticRight, "Height (pixels):", 7, 27, 66, 8},
           {IDC_IMAGE_HEIGHT, DialogItemKind::Edit, "", 79, 25, 50, 12},
           {IDOK, DialogItemKind::DefPushButton, "OK", 14, 43, 50, 14},
           {IDCANCEL, DialogItemKind::PushButton, "Cancel", 72, 43, 50, 14}}};
}

}  // namespace

ExportImageDialog::ExportImageDialog() : TemplateDialog(exportImageTemplate()) {}

void ExportImageDialog::doDataExchange(DataExchange& exchange) {
  exchange.text(IDC_IMAGE_WIDTH, imageWidth);
  exchange.minMax(imageWidth, 1, kMaxSide);
  exchange.text(IDC_IMAGE_HEIGHT, imageHeight);
  exchange.minMax(imageHeight, 1, kMaxSide);
}
