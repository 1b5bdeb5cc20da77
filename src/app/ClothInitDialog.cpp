#include "app/ClothInitDialog.h"

#include <QLabel>
#include <QLineEdit>

#include "app/Resource.h"
#include "cloth/Cloth.h"
#include "cloth/Limits.h"
#include "cloth/StabilityEstimate.h"
#include "sim/Simulation.h"
#include "toolkit/DataExchange.h"

namespace {

// Template 131, in dialog units; template order is the tab order. The lay choice, the
// stability note under the fields and Cancel are ours.
DialogTemplate clothInitTemplate() {
  return {"Cloth Initialization", 136, 109, false,
          {{IDOK, DialogItemKind::DefPushButton, "OK", 14, 88, 50, 14},
           {IDC_NODE_SPACING, DialogItemKind::Edit, "", 89, 7, 40, 12},
           {IDC_CLOTH_WIDTH, DialogItemKind::Edit, "", 89, 25, 40, 12},
           {kNoControlId, DialogItemKind::StaticRight, "Node spacing:", 7, 7, 66, 8},
           {kNoControlId, DialogItemKind::StaticRight, "Cloth width (nodes):", 7, 25, 66, 8},
           {kNoControlId, DialogItemKind::StaticRight, "Cloth height (nodes):", 7, 43, 66, 8},
           {IDC_CLOTH_HEIGHT, DialogItemKind::Edit, "", 89, 43, 40, 12},
           {IDC_LAY_FLAT, DialogItemKind::CheckBox, "Start lying &flat", 89, 59, 45, 10},
           {IDC_STABILITY_NOTE, DialogItemKind::StaticLeft, "", 7, 74, 122, 8},
           {IDCANCEL, DialogItemKind::PushButton, "Cancel", 72, 88, 50, 14}}};
}

}  // namespace

ClothInitDialog::ClothInitDialog() : TemplateDialog(clothInitTemplate()) {}

bool ClothInitDialog::OnInitDialog() {
  const bool focus = TemplateDialog::OnInitDialog();
  connect(control<QLineEdit>(IDC_NODE_SPACING), &QLineEdit::textChanged, this, [this] { updateStabilityNote(); });
  updateStabilityNote();
  return focus;
}

void ClothInitDialog::updateStabilityNote() {
  bool number = false;
  const double spacing = control<QLineEdit>(IDC_NODE_SPACING)->text().toDouble(&number);
  const Cloth defaults;  // a new cloth starts from the default parameters
  const StabilityEstimate estimate(defaults.parameters, spacing, Simulation::kTimeStep);
  const bool unstable = number && spacing > 0.0 && !estimate.stable();
  control<QLabel>(IDC_STABILITY_NOTE)->setText(
      unstable ? tr("Unstable: use a spacing of at least %1").arg(estimate.minimumSpacing(), 0, 'g', 3) : QString());
}

void ClothInitDialog::doDataExchange(DataExchange& exchange) {
  // Width, height, then spacing: the first failure is the one reported.
  exchange.text(IDC_CLOTH_WIDTH, clothWidth);
  exchange.minMax(clothWidth, limits::kMinNodes, limits::kMaxNodes);
  exchange.text(IDC_CLOTH_HEIGHT, clothHeight);
  exchange.minMax(clothHeight, limits::kMinNodes, limits::kMaxNodes);
  exchange.text(IDC_NODE_SPACING, nodeSpacing);
  exchange.minMax(nodeSpacing, limits::kMinSpacing, limits::kMaxSpacing);
  exchange.check(IDC_LAY_FLAT, layFlat);
}
