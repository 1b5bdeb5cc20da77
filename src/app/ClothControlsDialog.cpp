#include "app/ClothControlsDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <vector>

#include "app/Resource.h"
#include "cloth/ClothParameters.h"
#include "cloth/ParameterList.h"
#include "cloth/StabilityEstimate.h"
#include "record/RecordingSession.h"

namespace {

// Template 130, in dialog units; the value's field and the Default button beside the slider's
// middle are ours.
DialogTemplate clothControlsTemplate() {
  return {"Cloth Controls", 86, 235, false,
          {{IDC_PARAMETER_COMBO, DialogItemKind::DropDownList, "", 7, 7, 72, 145},
           {IDC_VALUE_SLIDER, DialogItemKind::VerticalTrackbar, "", 7, 21, 14, 207},
           {IDC_MAXIMUM_LABEL, DialogItemKind::StaticLeft, "Static", 24, 25, 58, 8},
           {IDC_MINIMUM_LABEL, DialogItemKind::StaticLeft, "Static", 21, 219, 58, 9}}};
}

QString formatValue(double value) { return QString::asprintf("%1.2f", value); }

}  // namespace

ClothControlsDialog::ClothControlsDialog(ParameterList* parameters, QWidget* owner)
    : TemplateDialog(clothControlsTemplate(), owner),
      valueField(new QDoubleSpinBox(this)),
      defaultButton(new QPushButton(tr("&Default"), this)),
      minimumLabel(control<QLabel>(IDC_MINIMUM_LABEL)),
      maximumLabel(control<QLabel>(IDC_MAXIMUM_LABEL)),
      parameterCombo(control<QComboBox>(IDC_PARAMETER_COMBO)),
      valueSlider(control<QSlider>(IDC_VALUE_SLIDER)),
      stabilityWarning(new QLabel(this)),
      parameters(parameters),
      stableSize(size()),
      templateWidth(size().width()) {
  const DialogUnits units(font());
  valueField->setGeometry(units.toPixels(24, 110, 55, 13));
  valueField->setDecimals(2);
  // A typed value counts once it is complete: Enter or leaving the field.
  valueField->setKeyboardTracking(false);
  defaultButton->setGeometry(units.toPixels(24, 126, 40, 13));
  // Enter in the field puts the typed value in; it must not press this button as well.
  defaultButton->setAutoDefault(false);
  // The slider's natural way round: the maximum at the top, the groove filled from the minimum,
  // the Up and End keys towards the maximum.
  valueSlider->setInvertedAppearance(false);
  valueSlider->setInvertedControls(false);
  const QRect below = units.toPixels(7, 232, 74, 40);
  stabilityWarning->setGeometry(below);
  stabilityWarning->setWordWrap(true);
  stabilityWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  stabilityWarning->setText(tr("Unstable: raise density or lower stiffness, or choose Simulation > Solver > XPBD."));
  stabilityWarning->setStyleSheet(QStringLiteral("color: #b00000"));
  stabilityWarning->hide();
  // A selection by the user, not one made in code, is a selection change.
  connect(parameterCombo, &QComboBox::activated, this, [this] { OnSelchangeParameterCombo(); });
  // Keys, clicks in the channel and drags are actions; releasing the thumb is one more
  // notification, which also comes when a click on the thumb did not move it.
  connect(valueSlider, &QSlider::actionTriggered, this, [this] { OnVScroll(); });
  connect(valueSlider, &QSlider::sliderReleased, this, [this] { OnVScroll(); });
  connect(valueField, &QDoubleSpinBox::valueChanged, this, [this](double value) { setSelectedValue(value); });
  connect(defaultButton, &QPushButton::clicked, this, [this] {
    if (const Parameter* p = selectedParameter()) setSelectedValue(clothDefault(p->name));
  });
  if (owner != nullptr) setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
}

// The panel widens to its caption, room left for the title bar's buttons, so that the cloth's
// name is not cut off.
void ClothControlsDialog::setDocumentTitle(const QString& title) {
  setWindowTitle(QStringLiteral("Cloth Controls - ") + title);
  constexpr int kTitleBarButtons = 80;  // pixels, a close box and a margin each side
  stableSize.setWidth(std::max(templateWidth, fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarButtons));
  setFixedSize(stableSize.width(), height());
}

bool ClothControlsDialog::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  std::vector<Parameter*> all(parameters->count());
  const int collected = parameters->collect(all.data());
  for (int i = 0; i < collected; ++i) addSortedItem(*parameterCombo, QString::fromStdString(all[i]->name));
  for (int i = 0; i < parameterCombo->count(); ++i)
    parameterCombo->setItemData(i, describe(parameterCombo->itemText(i).toStdString()), Qt::ToolTipRole);
  parameterCombo->setCurrentIndex(0);
  OnSelchangeParameterCombo();
  return true;
}

Parameter* ClothControlsDialog::selectedParameter() const {
  if (parameterCombo->currentIndex() < 0) return nullptr;
  return parameters->find(parameterCombo->currentText().toStdString());
}

void ClothControlsDialog::OnSelchangeParameterCombo() {
  const Parameter* p = selectedParameter();
  if (p == nullptr) return;
  maximumLabel->setText(formatValue(p->maximum));
  minimumLabel->setText(formatValue(p->minimum));
  const QString tip = describe(p->name);
  for (QWidget* w : std::initializer_list<QWidget*>{parameterCombo, valueSlider, valueField}) w->setToolTip(tip);
  {
    const QSignalBlocker blocker(valueField);
    valueField->setRange(p->minimum, p->maximum);
  }
  showValue(*p);
}

void ClothControlsDialog::showValue(const Parameter& p) {
  const QSignalBlocker blocker(valueField);
  valueField->setValue(p.value);
  const int rmin = valueSlider->minimum(), rmax = valueSlider->maximum();
  const double span = p.maximum - p.minimum;
  double t = span != 0.0 ? (p.value - p.minimum) * (rmax - rmin) / span : 0.0;
  // A value far outside the range is held just beyond the slider's ends, where it still shows at
  // the nearest end and truncation to int is defined.
  t = std::max(-1.0, std::min(t, rmax - rmin + 1.0));
  valueSlider->setValue(rmin + static_cast<int>(t));
}

void ClothControlsDialog::setSelectedValue(double value) {
  Parameter* p = selectedParameter();
  if (p == nullptr) return;
  p->value = value;
  showValue(*p);
  updateStabilityWarning();
  if (edited) edited(p->name);
}

void ClothControlsDialog::refresh() {
  if (const Parameter* p = selectedParameter()) showValue(*p);
  updateStabilityWarning();
}

// The meaning, unit, range and default of the tunable, from the parameter table.
QString ClothControlsDialog::describe(const std::string& name) {
  const ClothParameter* p = findClothParameter(name);
  if (p == nullptr) return {};
  return tr("%1, in %2; %3 to %4, default %5")
      .arg(QString::fromUtf8(p->meaning), QString::fromUtf8(p->unit), formatValue(p->minimum),
           formatValue(p->maximum), formatValue(p->value));
}

void ClothControlsDialog::OnVScroll() {
  Parameter* p = selectedParameter();
  if (p == nullptr) return;
  const int rmin = valueSlider->minimum(), rmax = valueSlider->maximum();
  // The position the notification reports: during an action the value is not yet updated.
  const int position = valueSlider->sliderPosition();
  const double q = static_cast<double>(position - rmin) / (rmax - rmin);
  p->value = q * (p->maximum - p->minimum) + p->minimum;
  const QSignalBlocker blocker(valueField);
  valueField->setValue(p->value);
  updateStabilityWarning();
  if (edited) edited(p->name);
}

void ClothControlsDialog::setNodeSpacing(double spacing) {
  nodeSpacing = spacing;
  updateStabilityWarning();
}

void ClothControlsDialog::setSolver(Solver solver) {
  solver_ = solver;
  updateStabilityWarning();
}

void ClothControlsDialog::updateStabilityWarning() {
  const bool unstable = solver_ == Solver::Explicit &&
                        !StabilityEstimate(*parameters, nodeSpacing, RecordingSession::kDefaultTimeStep).stable();
  if (unstable == stabilityWarning->isVisibleTo(this)) return;
  stabilityWarning->setVisible(unstable);
  const int extra = unstable ? stabilityWarning->geometry().bottom() + 1 - stableSize.height() : 0;
  setFixedSize(stableSize.width(), stableSize.height() + std::max(0, extra));
}

void ClothControlsDialog::closeEvent(QCloseEvent* event) { event->ignore(); }
