#pragma once

#include <QString>

#include "toolkit/TemplateDialog.h"

// "Recording Settings": steps per recorded frame and the surface's patch counts. Only values
// within the ranges leave the dialog with OK; Escape, the only other way out, keeps the values it
// opened with.
class RecordingSettingsDialog : public TemplateDialog {
  Q_OBJECT
public:
  RecordingSettingsDialog();

  QString timeStepLabel;  // shown above the fields, set before the dialog opens
  int timeStepSkip = 1;   // 1 to 100
  int patchesU = 5;       // 1 to 30
  int patchesV = 5;       // 1 to 30

protected:
  bool OnInitDialog() override;
  void doDataExchange(DataExchange& exchange) override;
  // A refused OK has already read the fields it got through; Escape puts the opened values back.
  void OnCancel() override;

private:
  struct Fields {
    int timeStepSkip, patchesU, patchesV;
  };
  Fields opened{};
};
