#pragma once

#include "toolkit/TemplateDialog.h"

// "Cloth Initialization": the node spacing, grid size and lay of a new cloth. Only values within the
// ranges leave the dialog with OK; Escape and Cancel leave it without a cloth.
class ClothInitDialog : public TemplateDialog {
  Q_OBJECT
public:
  ClothInitDialog();

  int clothWidth = 17;      // nodes per row, 3 to 100
  int clothHeight = 10;     // rows, 3 to 100
  float nodeSpacing = 0.25f;  // 0.01 to 1.0, both as single-precision values
  bool layFlat = false;       // lying in the horizontal plane rather than hanging

protected:
  bool OnInitDialog() override;
  void doDataExchange(DataExchange& exchange) override;

private:
  // Says, as the spacing is typed, whether a cloth of the default settings would blow up.
  void updateStabilityNote();
};
