#include "app/RecordingSettingsDialog.h"

#include <QLabel>
#include <QSettings>

#include "app/Resource.h"
#include "cloth/Limits.h"
#include "toolkit/DataExchange.h"

namespace {

const char kFormatsKey[] = "Recording/Formats";

// Check box texts in the order of recordingformat::all().
const char* const kFormatTexts[] = {"MEL", "PC2", "MDD", "OBJ", "glTF"};

// Template 132, in dialog units; template order is the tab order. The time-step label spans the
// dialog: at 40 units wide it would show no more than "Current de". The format row below the
// fields widens the dialog and moves OK down; Cancel beside it records nothing.
DialogTemplate recordingSettingsTemplate() {
  DialogTemplate t{"Recording Settings", 172, 122, false,
          {{IDOK, DialogItemKind::DefPushButton, "OK", 30, 102, 50, 14},
           {IDCANCEL, DialogItemKind::PushButton, "Cancel", 92, 102, 50, 14},
           {IDC_TIME_STEP_LABEL, DialogItemKind::StaticLeft, "No message", 7, 7, 118, 8},
           {kNoControlId, DialogItemKind::StaticLeft, "Time step skip:", 7, 26, 48, 8},
           {IDC_TIME_STEP_SKIP, DialogItemKind::Edit, "", 85, 23, 40, 12},
           {kNoControlId, DialogItemKind::StaticLeft, "Number of patches (u):", 7, 42, 73, 8},
           {IDC_PATCHES_U, DialogItemKind::Edit, "", 85, 39, 40, 12},
           {kNoControlId, DialogItemKind::StaticLeft, "Number of patches (v):", 7, 58, 73, 8},
           {IDC_PATCHES_V, DialogItemKind::Edit, "", 85, 55, 40, 12},
           {kNoControlId, DialogItemKind::StaticLeft, "Formats:", 7, 74, 48, 8}}};
  for (int i = 0; i < static_cast<int>(recordingformat::all().size()); ++i)
    t.items.push_back({IDC_FORMAT_FIRST + i, DialogItemKind::CheckBox, kFormatTexts[i], 7 + 32 * i, 85, 30, 10});
  return t;
}

}  // namespace

RecordingSettingsDialog::RecordingSettingsDialog() : TemplateDialog(recordingSettingsTemplate()) {}

bool RecordingSettingsDialog::OnInitDialog() {
  control<QLabel>(IDC_TIME_STEP_LABEL)->setText(timeStepLabel);
  opened = {timeStepSkip, patchesU, patchesV, formats};
  return TemplateDialog::OnInitDialog();
}

void RecordingSettingsDialog::doDataExchange(DataExchange& exchange) {
  exchange.text(IDC_TIME_STEP_SKIP, timeStepSkip);
  exchange.minMax(timeStepSkip, limits::kMinSkip, limits::kMaxSkip);
  exchange.text(IDC_PATCHES_U, patchesU);
  exchange.minMax(patchesU, limits::kMinPatches, limits::kMaxPatches);
  exchange.text(IDC_PATCHES_V, patchesV);
  exchange.minMax(patchesV, limits::kMinPatches, limits::kMaxPatches);
  RecordingFormats chosen;
  for (int i = 0; i < static_cast<int>(recordingformat::all().size()); ++i) {
    const RecordingFormat format = recordingformat::all()[i];
    bool checked = recordingformat::contains(formats, format);
    exchange.check(IDC_FORMAT_FIRST + i, checked);
    if (checked) chosen.push_back(format);
  }
  exchange.require(!chosen.empty(), tr("Please choose at least one format to record in."));
  if (exchange.saveAndValidate && !exchange.failed()) formats = chosen;
}

void RecordingSettingsDialog::OnCancel() {
  timeStepSkip = opened.timeStepSkip;
  patchesU = opened.patchesU;
  patchesV = opened.patchesV;
  formats = opened.formats;
  TemplateDialog::OnCancel();
}

RecordingFormats RecordingSettingsDialog::rememberedFormats() {
  RecordingFormats remembered;
  std::string unknown;
  const std::string list = QSettings().value(QLatin1String(kFormatsKey), QStringLiteral("mel")).toString().toStdString();
  if (!recordingformat::parseList(list, remembered, unknown)) remembered = {RecordingFormat::mel};
  return remembered;
}

void RecordingSettingsDialog::rememberFormats(const RecordingFormats& chosen) {
  QString list;
  for (RecordingFormat format : chosen)
    list += (list.isEmpty() ? "" : ",") + QLatin1String(recordingformat::name(format));
  QSettings().setValue(QLatin1String(kFormatsKey), list);
}
