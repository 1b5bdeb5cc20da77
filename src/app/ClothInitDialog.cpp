#include "app/ClothInitDialog.h"

#include "app/Resource.h"
#include "cloth/Limits.h"
#include "toolkit/DataExchange.h"

namespace {

// Template 131, in dialog units; template order is the tab order.
DialogTemplate clothInitTemplate() {
  return {"Cloth Initialization", 136, 95, false,
          {{IDOK, DialogItemKind::DefPushButton, "OK", 37, 74, 50, 14},
           {IDC_NODE_SPACING, DialogItemKind::Edit, "", 89, 7, 40, 12},
           {IDC_CLOTH_WIDTH, DialogItemKind::Edit, "", 89, 25, 40, 12},
           {kNoControlId, DialogItemKind::StaticRight, "Node spacing:", 7, 7, 66, 8},
           {kNoControlId, DialogItemKind::StaticRight, "Cloth width (nodes):", 7, 25, 66, 8},
           {kNoControlId, DialogItemKind::StaticRight, "Cloth height (nodes):", 7, 43, 66, 8},
           {IDC_CLOTH_HEIGHT, DialogItemKind::Edit, "", 89, 43, 40, 12}}};
}

}  // namespace

ClothInitDialog::ClothInitDialog() : TemplateDialog(clothInitTemplate()) {}

void ClothInitDialog::doDataExchange(DataExchange& exchange) {
  // Width, height, then spacing: the first failure is the one reported.
  exchange.text(IDC_CLOTH_WIDTH, clothWidth);
  exchange.minMax(clothWidth, limits::kMinNodes, limits::kMaxNodes);
  exchange.text(IDC_CLOTH_HEIGHT, clothHeight);
  exchange.minMax(clothHeight, limits::kMinNodes, limits::kMaxNodes);
  exchange.text(IDC_NODE_SPACING, nodeSpacing);
  exchange.minMax(nodeSpacing, limits::kMinSpacing, limits::kMaxSpacing);
}
