#pragma once

#include <QString>

#include "record/RecordingFormat.h"
#include "toolkit/TemplateDialog.h"

// "Recording Settings": steps per recorded frame, the surface's patch counts and the formats to
// write. Only values within the ranges and at least one format leave the dialog with OK; Escape,
// the only other way out, keeps the values it opened with.
class RecordingSettingsDialog : public TemplateDialog {
  Q_OBJECT
public:
  RecordingSettingsDialog();

  QString timeStepLabel;  // shown above the fields, set before the dialog opens
  int timeStepSkip = 1;   // 1 to 100
  int patchesU = 5;       // 1 to 30
  int patchesV = 5;       // 1 to 30
  RecordingFormats formats{RecordingFormat::mel};  // at least one

  // The formats chosen last time in any run of the program (MEL the first time).
  static RecordingFormats rememberedFormats();
  static void rememberFormats(const RecordingFormats& chosen);

protected:
  bool OnInitDialog() override;
  void doDataExchange(DataExchange& exchange) override;
  // A refused OK has already read the fields it got through; Escape puts the opened values back.
  void OnCancel() override;

private:
  struct Fields {
    int timeStepSkip, patchesU, patchesV;
    RecordingFormats formats;
  };
  Fields opened{};
};
