#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class Simulation;

// The modeless "Scene" panel of one cloth: its colliders, numbered in the order they act, each
// shown as the text the recorder's --collider takes, to be edited in place or removed; and the
// cloth's thickness and friction against them and, with self-collision on, against itself. Every change acts from the next step on, whether
// the cloth runs or not. Like the Cloth Controls, it is shown and hidden by its document alone:
// Escape and the window's close do nothing, so the View menu's check always tells the truth.
class ScenePanel : public QDialog {
  Q_OBJECT
public:
  // `simulation` is not owned and must outlive the panel; `changed` runs after every change.
  ScenePanel(Simulation& simulation, std::function<void()> changed, QWidget* owner = nullptr);

  // Names the document in the caption, so that several panels can be told apart.
  void setDocumentTitle(const QString& title);
  // Lists the colliders again, the one at `row` selected, and shows the settings as they are.
  void refresh(int row);

  QListWidget* list;
  QLineEdit* editor;  // the selected collider's text; Enter or Apply puts it in place
  QLabel* problem;    // why the text cannot be a collider, while it cannot
  QPushButton* applyButton;
  QPushButton* removeButton;
  QDoubleSpinBox* thickness;
  QDoubleSpinBox* friction;
  QCheckBox* selfCollision;

protected:
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;

private:
  void showSelected();
  void applyEdit();
  void removeSelected();
  // Thickness, friction and self-collision as the panel shows them, into the simulation.
  void applySettings();

  Simulation& simulation_;
  std::function<void()> changed_;
};
