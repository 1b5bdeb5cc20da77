#include "app/ScenePanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "sim/Simulation.h"

namespace {

QDoubleSpinBox* spinBox(QWidget* parent, double minimum, double maximum, double step, const QString& tip) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(minimum, maximum);
  box->setDecimals(3);
  box->setSingleStep(step);
  box->setToolTip(tip);
  return box;
}

}  // namespace

ScenePanel::ScenePanel(Simulation& simulation, std::function<void()> changed, QWidget* owner)
    : QDialog(owner),
      list(new QListWidget(this)),
      editor(new QLineEdit(this)),
      problem(new QLabel(this)),
      applyButton(new QPushButton(tr("&Apply"), this)),
      removeButton(new QPushButton(tr("&Remove"), this)),
      thickness(spinBox(this, 0.001, ColliderPass::kMaxThickness, 0.005,
                        tr("How far the cloth keeps from a collider's surface, in scene units"))),
      friction(spinBox(this, 0.0, ColliderPass::kMaxFriction, 0.05,
                       tr("Coulomb friction coefficient: the cloth holds still on a slope whose "
                          "steepness (its tangent) is below it"))),
      selfCollision(new QCheckBox(tr("&Self-collision"), this)),
      simulation_(simulation),
      changed_(std::move(changed)) {
  setWindowTitle(tr("Scene"));
  if (owner != nullptr) setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  editor->setToolTip(tr("plane:PX,PY,PZ,NX,NY,NZ, sphere:CX,CY,CZ,R, box:X0,Y0,Z0,X1,Y1,Z1 or mesh:PATH"));
  problem->setStyleSheet(QStringLiteral("color: #b00000"));
  problem->setWordWrap(true);
  problem->hide();
  selfCollision->setToolTip(tr("The cloth keeps the thickness off itself too, so that its folds never pass through "
                               "each other; slower, most of all in a heap"));

  auto* editRow = new QHBoxLayout;
  editRow->addWidget(editor, 1);
  editRow->addWidget(applyButton);
  editRow->addWidget(removeButton);
  auto* settings = new QFormLayout;
  settings->addRow(tr("&Thickness:"), thickness);
  settings->addRow(tr("&Friction:"), friction);
  settings->addRow(selfCollision);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Colliders (Scene menu adds them):"), this));
  layout->addWidget(list);
  layout->addLayout(editRow);
  layout->addWidget(problem);
  layout->addLayout(settings);

  connect(list, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
  connect(editor, &QLineEdit::returnPressed, this, [this] { applyEdit(); });
  connect(applyButton, &QPushButton::clicked, this, [this] { applyEdit(); });
  connect(removeButton, &QPushButton::clicked, this, [this] { removeSelected(); });
  connect(thickness, &QDoubleSpinBox::valueChanged, this, [this] { applySettings(); });
  connect(friction, &QDoubleSpinBox::valueChanged, this, [this] { applySettings(); });
  connect(selfCollision, &QCheckBox::toggled, this, [this] { applySettings(); });
  refresh(-1);
}

void ScenePanel::closeEvent(QCloseEvent* event) { event->ignore(); }

void ScenePanel::applySettings() {
  ColliderPass& colliders = simulation_.colliders();
  colliders.setThickness(thickness->value());
  colliders.setFriction(friction->value());
  simulation_.setSelfCollision(selfCollision->isChecked(), colliders.thickness(), colliders.friction());
  changed_();
}

void ScenePanel::setDocumentTitle(const QString& title) { setWindowTitle(tr("Scene - ") + title); }

void ScenePanel::refresh(int row) {
  const QSignalBlocker blocker(list);
  list->clear();
  int number = 0;
  for (const Collider& collider : simulation_.colliders().colliders())
    list->addItem(QStringLiteral("%1  %2").arg(++number).arg(QFile::decodeName(formatCollider(collider).c_str())));
  list->setCurrentRow(row);
  showSelected();
  const QSignalBlocker thicknessBlocker(thickness), frictionBlocker(friction), selfBlocker(selfCollision);
  thickness->setValue(simulation_.colliders().thickness());
  friction->setValue(simulation_.colliders().friction());
  selfCollision->setChecked(simulation_.selfCollision() != nullptr);
}

void ScenePanel::showSelected() {
  const int row = list->currentRow();
  const bool selected = row >= 0;
  editor->setText(selected ? QFile::decodeName(formatCollider(simulation_.colliders().colliders()[row]).c_str()) : QString());
  editor->setEnabled(selected);
  applyButton->setEnabled(selected);
  removeButton->setEnabled(selected);
  problem->hide();
}

// A text that is no collider leaves the collider as it was and says why.
void ScenePanel::applyEdit() {
  const int row = list->currentRow();
  if (row < 0) return;
  Collider collider;
  const std::string error = parseCollider(QFile::encodeName(editor->text()).toStdString(), collider);
  if (!error.empty()) {
    problem->setText(QFile::decodeName(error.c_str()));
    problem->show();
    return;
  }
  std::vector<Collider> colliders = simulation_.colliders().colliders();
  colliders[row] = std::move(collider);
  simulation_.colliders().setColliders(std::move(colliders));
  refresh(row);
  changed_();
}

void ScenePanel::removeSelected() {
  const int row = list->currentRow();
  if (row < 0) return;
  std::vector<Collider> colliders = simulation_.colliders().colliders();
  colliders.erase(colliders.begin() + row);
  simulation_.colliders().setColliders(std::move(colliders));
  refresh(std::min(row, static_cast<int>(simulation_.colliders().colliders().size()) - 1));
  changed_();
}
