#include "app/RecordingSettingsDialog.h"

#include <QLabel>

#include "app/Resource.h"
#include "toolkit/DataExchange.h"

namespace {

// Template 132, in dialog units; template order is the tab order. The time-step label spans the
// dialog: at 40 units wide it would show no more than "Current de".
DialogTemplate recordingSettingsTemplate() {
  return {"Recording Settings", 132, 106, false,
          {{IDOK, DialogItemKind::DefPushButton, "OK", 40, 85, 50, 14},
           {IDC_TIME_STEP_LABEL, DialogItemKind::StaticLeft, "No message", 7, 7, 118, 8},
           {IDC_STATIC, DialogItemKind::StaticLeft, "Time step skip:", 7, 26, 48, 8},
           {IDC_TIME_STEP_SKIP, DialogItemKind::Edit, "", 85, 23, 40, 12},
           {IDC_STATIC, DialogItemKind::StaticLeft, "Number of patches (u):", 7, 42, 73, 8},
           {IDC_PATCHES_U, DialogItemKind::Edit, "", 85, 39, 40, 12},
           {IDC_STATIC, DialogItemKind::StaticLeft, "Number of patches (v):", 7, 58, 73, 8},
           {IDC_PATCHES_V, DialogItemKind::Edit, "", 85, 55, 40, 12}}};
}

}  // namespace

RecordingSettingsDialog::RecordingSettingsDialog() : TemplateDialog(recordingSettingsTemplate()) {}

bool RecordingSettingsDialog::OnInitDialog() {
  control<QLabel>(IDC_TIME_STEP_LABEL)->setText(timeStepLabel);
  opened = {timeStepSkip, patchesU, patchesV};
  return TemplateDialog::OnInitDialog();
}

void RecordingSettingsDialog::doDataExchange(DataExchange& exchange) {
  exchange.text(IDC_TIME_STEP_SKIP, timeStepSkip);
  exchange.minMax(timeStepSkip, 1, 100);
  exchange.text(IDC_PATCHES_U, patchesU);
  exchange.minMax(patchesU, 1, 30);
  exchange.text(IDC_PATCHES_V, patchesV);
  exchange.minMax(patchesV, 1, 30);
}

void RecordingSettingsDialog::OnCancel() {
  timeStepSkip = opened.timeStepSkip;
  patchesU = opened.patchesU;
  patchesV = opened.patchesV;
  TemplateDialog::OnCancel();
}
