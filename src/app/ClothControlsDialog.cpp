#include "app/ClothControlsDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <vector>

#include "app/Resource.h"
#include "cloth/ParameterList.h"
#include "cloth/StabilityEstimate.h"
#include "record/RecordingSession.h"

namespace {

// Template 130, in dialog units.
DialogTemplate clothControlsTemplate() {
  return {"Cloth Controls", 86, 235, false,
          {{IDC_PARAMETER_COMBO, DialogItemKind::DropDownList, "", 7, 7, 72, 145},
           {IDC_VALUE_SLIDER, DialogItemKind::VerticalTrackbar, "", 7, 21, 14, 207},
           {IDC_MAXIMUM_LABEL, DialogItemKind::StaticLeft, "Static", 24, 25, 58, 8},
           {IDC_VALUE_LABEL, DialogItemKind::StaticLeft, "Static", 21, 118, 58, 8},
           {IDC_MINIMUM_LABEL, DialogItemKind::StaticLeft, "Static", 21, 219, 58, 9}}};
}

QString formatValue(double value) { return QString::asprintf("%1.2f", value); }

}  // namespace

ClothControlsDialog::ClothControlsDialog(ParameterList* parameters, QWidget* owner)
    : TemplateDialog(clothControlsTemplate(), owner),
      valueLabel(control<QLabel>(IDC_VALUE_LABEL)),
      minimumLabel(control<QLabel>(IDC_MINIMUM_LABEL)),
      maximumLabel(control<QLabel>(IDC_MAXIMUM_LABEL)),
      parameterCombo(control<QComboBox>(IDC_PARAMETER_COMBO)),
      valueSlider(control<QSlider>(IDC_VALUE_SLIDER)),
      stabilityWarning(new QLabel(this)),
      parameters(parameters),
      stableSize(size()),
      templateWidth(size().width()) {
  const DialogUnits units(font());
  const QRect below = units.toPixels(7, 232, 74, 24);
  stabilityWarning->setGeometry(below);
  stabilityWarning->setWordWrap(true);
  stabilityWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  stabilityWarning->setText(tr("Unstable: raise density or lower stiffness."));
  stabilityWarning->setStyleSheet(QStringLiteral("color: #b00000"));
  stabilityWarning->hide();
  // A selection by the user, not one made in code, is a selection change.
  connect(parameterCombo, &QComboBox::activated, this, [this] { OnSelchangeParameterCombo(); });
  // Keys, clicks in the channel and drags are actions; releasing the thumb is one more
  // notification, which also comes when a click on the thumb did not move it.
  connect(valueSlider, &QSlider::actionTriggered, this, [this] { OnVScroll(); });
  connect(valueSlider, &QSlider::sliderReleased, this, [this] { OnVScroll(); });
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
  valueLabel->setText(formatValue(p->value));
  const int rmin = valueSlider->minimum(), rmax = valueSlider->maximum();
  const double span = p->maximum - p->minimum;
  double t = span != 0.0 ? (p->value - p->minimum) * (rmax - rmin) / span : 0.0;
  // A value far outside the range is held just beyond the slider's ends, where it still shows at
  // the nearest end and truncation to int is defined.
  t = std::max(-1.0, std::min(t, rmax - rmin + 1.0));
  valueSlider->setValue(rmax - static_cast<int>(t));
}

void ClothControlsDialog::OnVScroll() {
  Parameter* p = selectedParameter();
  if (p == nullptr) return;
  const int rmin = valueSlider->minimum(), rmax = valueSlider->maximum();
  // The position the notification reports: during an action the value is not yet updated.
  const int position = valueSlider->sliderPosition();
  const double q = static_cast<double>(rmax - position) / (rmax - rmin);
  p->value = q * (p->maximum - p->minimum) + p->minimum;
  valueLabel->setText(formatValue(p->value));
  updateStabilityWarning();
}

void ClothControlsDialog::setNodeSpacing(double spacing) {
  nodeSpacing = spacing;
  updateStabilityWarning();
}

void ClothControlsDialog::updateStabilityWarning() {
  const bool unstable = !StabilityEstimate(*parameters, nodeSpacing, RecordingSession::kDefaultTimeStep).stable();
  if (unstable == stabilityWarning->isVisibleTo(this)) return;
  stabilityWarning->setVisible(unstable);
  const int extra = unstable ? stabilityWarning->geometry().bottom() + 1 - stableSize.height() : 0;
  setFixedSize(stableSize.width(), stableSize.height() + std::max(0, extra));
}

void ClothControlsDialog::closeEvent(QCloseEvent* event) { event->ignore(); }
