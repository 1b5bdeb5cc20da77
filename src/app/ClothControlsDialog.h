#pragma once

#include <functional>
#include <string>

#include "sim/Solver.h"
#include "toolkit/TemplateDialog.h"

class Parameter;
class ParameterList;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

// The modeless "Cloth Controls" panel: a sorted list of the cloth's parameter names, a slider that
// writes the selected parameter straight into the cloth's list, top end the maximum, bottom end
// the minimum, a field to type the value within the range and a button back to its default; the
// parameter's meaning, unit, range and default as their tooltip. It keeps no copy of any
// parameter; each handler looks its parameter up afresh.
class ClothControlsDialog : public TemplateDialog {
  Q_OBJECT
public:
  // `parameters` is not owned and must outlive the panel. With an `owner` window the panel is
  // its tool window: it stays above it and hides and shows with it.
  explicit ClothControlsDialog(ParameterList* parameters, QWidget* owner = nullptr);

  // Names the document in the caption, so that several panels can be told apart.
  void setDocumentTitle(const QString& title);

  void OnSelchangeParameterCombo();
  // Every scroll notification of the slider, whether or not it moved the thumb.
  void OnVScroll();
  // The spacing of the cloth's grid, which the stability warning needs beside the parameters.
  void setNodeSpacing(double spacing);
  // The warning is the explicit solver's: XPBD is stable at every setting.
  void setSolver(Solver solver);
  // Shows the values again after they were written elsewhere (a preset, an undo).
  void refresh();
  // Runs after the panel wrote a value, with the parameter's name.
  std::function<void(const std::string&)> edited;

  QDoubleSpinBox* valueField;
  QPushButton* defaultButton;
  QLabel* minimumLabel;
  QLabel* maximumLabel;
  QComboBox* parameterCombo;
  QSlider* valueSlider;
  QLabel* stabilityWarning;  // below the controls, shown only while the settings are unstable
  ParameterList* parameters;

protected:
  bool OnInitDialog() override;
  // The panel is shown and hidden by its document alone: Enter, Escape and the window manager's
  // close do nothing, so the menu's check mark always tells the truth.
  void OnOK() override {}
  void OnCancel() override {}
  void closeEvent(QCloseEvent* event) override;

private:
  Parameter* selectedParameter() const;
  // The value in the field and the slider, without a notification.
  void showValue(const Parameter& p);
  // A value typed or the default: written into the cloth's list.
  void setSelectedValue(double value);
  static QString describe(const std::string& name);
  void updateStabilityWarning();

  double nodeSpacing = 0.25;
  Solver solver_ = Solver::Explicit;
  QSize stableSize;  // the template's size, wide enough for the caption; the warning adds its lines below it
  int templateWidth;
};
