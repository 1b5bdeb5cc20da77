#include "app/CLoomwiseDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <ctime>

#include "app/ClothControlsDialog.h"
#include "app/ClothInitDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "app/SavedPresets.h"
#include "app/SceneEditCommand.h"
#include "app/ScenePanel.h"
#include "cloth/ClothShape.h"
#include "cloth/MaterialPresets.h"
#include "record/SceneFile.h"
#include "scene/MeshLoader.h"
#include "toolkit/DocumentHost.h"

namespace {

QString message(const char* text) { return QCoreApplication::translate("CLoomwiseDoc", text); }

}  // namespace

namespace {

struct PinCommand {
  int id;
  PinSet::Preset preset;
};

constexpr PinCommand kPinCommands[] = {
    {ID_PINS_DEFAULT, PinSet::Preset::Standard},    {ID_PINS_TOP_EDGE, PinSet::Preset::TopEdge},
    {ID_PINS_TOP_CORNERS, PinSet::Preset::TopCorners}, {ID_PINS_LEFT_EDGE, PinSet::Preset::LeftEdge},
    {ID_PINS_NONE, PinSet::Preset::None},
};

struct ColliderCommand {
  int id;
  CLoomwiseDoc::Shape shape;
};

constexpr ColliderCommand kColliderCommands[] = {{ID_SCENE_ADD_GROUND, CLoomwiseDoc::Shape::Ground},
                                                 {ID_SCENE_ADD_SPHERE, CLoomwiseDoc::Shape::Sphere},
                                                 {ID_SCENE_ADD_BOX, CLoomwiseDoc::Shape::Box}};

// A new collider goes under the cloth as it is now, centred below it and sized to it: a ground a
// quarter of the sheet below its lowest node, a sphere or box just under it.
Collider colliderUnder(CLoomwiseDoc::Shape shape, const Cloth& cloth) {
  Vec3 lower = cloth.positions->at(0), upper = lower;
  for (int k = 1; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    lower = {std::min(lower.x, p.x), std::min(lower.y, p.y), std::min(lower.z, p.z)};
    upper = {std::max(upper.x, p.x), std::max(upper.y, p.y), std::max(upper.z, p.z)};
  }
  const double size = std::max(cloth.width - 1, cloth.height - 1) * cloth.spacing;
  const double gap = 0.05 * size;
  const Vec3 centre = 0.5 * (lower + upper);
  switch (shape) {
    case CLoomwiseDoc::Shape::Ground:
      return Plane{{centre.x, lower.y - 0.25 * size, centre.z}, {0, 1, 0}};
    case CLoomwiseDoc::Shape::Sphere: {
      const double radius = 0.25 * size;
      return Sphere{{centre.x, lower.y - gap - radius, centre.z}, radius};
    }
    case CLoomwiseDoc::Shape::Box: {
      const double half = 0.2 * size, top = lower.y - gap;
      return Box{{centre.x - half, top - 2 * half, centre.z - half}, {centre.x + half, top, centre.z + half}};
    }
  }
  return {};
}
struct SolverCommand {
  int id;
  Solver solver;
};

constexpr SolverCommand kSolverCommands[] = {{ID_SOLVER_EXPLICIT, Solver::Explicit}, {ID_SOLVER_XPBD, Solver::Xpbd}};

}  // namespace

CLoomwiseDoc::CLoomwiseDoc(DocumentHost* host)
    : ClothDocument(host), sim(static_cast<std::uint32_t>(std::time(nullptr))), session(sim) {
  recordingSettings.skip = session.presetSkip();
  recordingSettings.formats.clear();
  makePanels();
  layOutCloth(ClothShape());
  lastEdit_ = SceneSnapshot::of(sim);
  onCommand(ID_VIEW_CLOTH_CONTROLS, [this] { OnViewClothControls(); });
  onUpdate(ID_VIEW_CLOTH_CONTROLS, [this](CommandUi& ui) { OnUpdateViewClothControls(ui); });
  onCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
  onCommand(ID_SIMULATION_RESET, [this] { OnSimulationReset(); });
  onCommand(ID_SIMULATION_STEP_FRAME, [this] { OnSimulationStepFrame(); });
  onUpdate(ID_SIMULATION_STEP_FRAME, [this](CommandUi& ui) { OnUpdateSimulationStepFrame(ui); });
  for (const PinCommand& command : kPinCommands) {
    onCommand(command.id, [this, command] { OnPins(command.preset); });
    onUpdate(command.id, [this, command](CommandUi& ui) { OnUpdatePins(ui, command.preset); });
  }
  for (const ColliderCommand& command : kColliderCommands)
    onCommand(command.id, [this, command] { OnAddCollider(command.shape); });
  onCommand(ID_SCENE_IMPORT_MESH, [this] { OnImportColliderMesh(); });
  onCommand(ID_VIEW_SCENE_PANEL, [this] { OnViewScenePanel(); });
  onUpdate(ID_VIEW_SCENE_PANEL, [this](CommandUi& ui) { OnUpdateViewScenePanel(ui); });
  for (int i = 0; i < static_cast<int>(std::size(kMaterialPresets)); ++i) {
    onCommand(ID_PRESET_FIRST + i, [this, i] { OnPreset(i); });
    onUpdate(ID_PRESET_FIRST + i, [this, i](CommandUi& ui) { OnUpdatePreset(ui, i); });
  }
  for (int slot = 0; slot < SavedPresets::kSlots; ++slot) {
    onCommand(ID_PRESET_SAVED_FIRST + slot, [this, slot] { OnSavedPreset(slot); });
    onUpdate(ID_PRESET_SAVED_FIRST + slot, [this, slot](CommandUi& ui) { OnUpdateSavedPreset(ui, slot); });
  }
  onCommand(ID_PRESET_SAVE, [this] { OnSavePreset(); });
  onCommand(ID_EDIT_UNDO, [this] { undoStack.undo(); });
  onUpdate(ID_EDIT_UNDO, [this](CommandUi& ui) { OnUpdateEditUndo(ui); });
  onCommand(ID_EDIT_REDO, [this] { undoStack.redo(); });
  onUpdate(ID_EDIT_REDO, [this](CommandUi& ui) { OnUpdateEditRedo(ui); });
  for (const SolverCommand& command : kSolverCommands) {
    onCommand(command.id, [this, command] { OnSolver(command.solver); });
    onUpdate(command.id, [this, command](CommandUi& ui) { OnUpdateSolver(ui, command.solver); });
  }
}

CLoomwiseDoc::~CLoomwiseDoc() = default;

bool CLoomwiseDoc::OnNewDocument() {
  if (!ClothDocument::OnNewDocument()) return false;
  ClothInitDialog dialog;
  if (dialog.doModal() != QDialog::Accepted) return false;
  layOutCloth({dialog.nodeSpacing, dialog.clothWidth, dialog.clothHeight,
               dialog.layFlat ? ClothShape::Lay::Flat : ClothShape::Lay::Hanging});
  return true;
}

bool CLoomwiseDoc::OnOpenDocument(const QString& path) {
  if (!ClothDocument::OnOpenDocument(path)) return false;
  if (QFileInfo(path).size() == 0) return true;
  const scenefile::Reading reading = scenefile::load(QFile::encodeName(path).toStdString());
  if (reading.scene) {
    reading.scene->applyTo(sim);
    recordingSettings = reading.scene->recording;
    makePanels();
    // The opened scene is where taking back starts.
    undoStack.clear();
    lastEdit_ = SceneSnapshot::of(sim);
    return true;
  }
  if (reading.kind == scenefile::Reading::Kind::Broken) {
    QMessageBox::warning(mainWindow(), QCoreApplication::applicationName(), QString::fromLocal8Bit(reading.error));
    return false;
  }
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                  message("Cannot open %1:\nit is not a Loomwise document.").arg(QDir::toNativeSeparators(path)),
                  QMessageBox::Ok, mainWindow());
  box.setInformativeText(message("Recordings and caches are read by animation packages, not by Loomwise."));
  box.exec();
  return false;
}

bool CLoomwiseDoc::OnSaveDocument(const QString& path) {
  SceneDescription scene = SceneDescription::of(sim);
  scene.recording = recordingSettings;
  if (scene.recording.formats.empty()) scene.recording.formats = RecordingSettingsDialog::rememberedFormats();
  const std::string failure = scenefile::save(scene, QFile::encodeName(path).toStdString());
  if (failure.empty()) return true;
  QMessageBox::warning(mainWindow(), QCoreApplication::applicationName(), QString::fromLocal8Bit(failure));
  return false;
}

void CLoomwiseDoc::makePanels() {
  controlsPanel = std::make_unique<ClothControlsDialog>(&cloth.parameters, mainWindow());
  controlsPanel->create();
  controlsPanel->setNodeSpacing(cloth.spacing);
  controlsPanel->setSolver(sim.solver());
  controlsPanel->edited = [this](const std::string& name) {
    recordEdit(message("Change %1").arg(QString::fromStdString(name)), true);
  };
  scenePanel = std::make_unique<ScenePanel>(
      sim,
      [this] {
        recordEdit(message("Scene Change"), false);
        updateAllViews();
      },
      mainWindow());
}

void CLoomwiseDoc::layOutCloth(const ClothShape& shape) {
  scrubbedTo_ = kLive;
  sim.layOut(shape);
  controlsPanel->setNodeSpacing(cloth.spacing);
}

void CLoomwiseDoc::OnSimulationReset() {
  if (session.recording) stopRecording();
  scrubbedTo_ = kLive;
  sim.reset();
  updateAllViews();
}

void CLoomwiseDoc::OnSimulationStepFrame() {
  advance(sim.stepsPerFrame - sim.stepCount() % sim.stepsPerFrame);
  updateAllViews();
}

void CLoomwiseDoc::OnUpdateSimulationStepFrame(CommandUi& ui) {
  ui.setEnabled(!runTimer.running() && cloth.hasGrid() && !cloth.diverged);
}

void CLoomwiseDoc::showFrame(std::size_t index) {
  scrubbedTo_ = index;
  updateAllViews();
}

const NodeBuffer* CLoomwiseDoc::keptFrame() const {
  return scrubbed() ? history.at(scrubbedTo_).positions.get() : nullptr;
}

std::size_t CLoomwiseDoc::shownIndex() const {
  return scrubbed() ? scrubbedTo_ : history.size() - 1;
}

std::int64_t CLoomwiseDoc::shownFrameNumber() const { return history.at(shownIndex()).number; }

double CLoomwiseDoc::shownTime() const {
  return scrubbed() ? history.at(scrubbedTo_).step * Simulation::kTimeStep : sim.simulatedTime();
}

void CLoomwiseDoc::OnPins(PinSet::Preset preset) {
  sim.setPins(PinSet(preset));
  recordEdit(message("Pins"), false);
  updateAllViews();
}

void CLoomwiseDoc::OnUpdatePins(CommandUi& ui, PinSet::Preset preset) { ui.setChecked(sim.pins().preset() == preset); }

void CLoomwiseDoc::OnAddCollider(Shape shape) { addCollider(colliderUnder(shape, cloth)); }

void CLoomwiseDoc::OnImportColliderMesh() {
  const QString path = host() != nullptr ? host()->chooseFile(FileDialogKind::Open) : QString();
  if (path.isEmpty()) return;
  const std::string file = QFile::encodeName(path).toStdString();
  MeshLoad load = loadMesh(file);
  if (!load.mesh) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    message("The file cannot be used as a collider."), QMessageBox::Ok, mainWindow());
    box.setInformativeText(QString::fromLocal8Bit(load.error));
    box.exec();
    return;
  }
  addCollider(MeshShape{std::move(load.mesh), file});
}

void CLoomwiseDoc::addCollider(Collider collider) {
  std::vector<Collider> colliders = sim.colliders().colliders();
  colliders.push_back(std::move(collider));
  sim.colliders().setColliders(std::move(colliders));
  recordEdit(message("Add Collider"), false);
  scenePanel->refresh(static_cast<int>(sim.colliders().colliders().size()) - 1);
  sceneVisible = true;
  showPanels(true);
  updateAllViews();
}

void CLoomwiseDoc::OnViewScenePanel() {
  sceneVisible = !sceneVisible;
  showPanels(true);
}

void CLoomwiseDoc::OnUpdateViewScenePanel(CommandUi& ui) { ui.setChecked(sceneVisible); }

void CLoomwiseDoc::showPanels(bool active) {
  controlsPanel->setVisible(active && controlsVisible);
  scenePanel->setVisible(active && sceneVisible);
}

void CLoomwiseDoc::OnTitleChanged() {
  controlsPanel->setDocumentTitle(title());
  scenePanel->setDocumentTitle(title());
}

void CLoomwiseDoc::OnPreset(int material) {
  const MaterialPreset& preset = kMaterialPresets[material];
  std::vector<std::pair<std::string, double>> values;
  for (const MaterialPreset::Value& v : preset.values) values.emplace_back(v.parameter, v.value);
  applyPresetValues(QString::fromUtf8(preset.name), values);
}

void CLoomwiseDoc::OnUpdatePreset(CommandUi& ui, int material) {
  bool same = true;
  for (const MaterialPreset::Value& v : kMaterialPresets[material].values)
    same = same && cloth.parameters.valueOf(v.parameter) == v.value;
  ui.setChecked(same);
}

void CLoomwiseDoc::OnSavedPreset(int slot) {
  if (savedPresets == nullptr || slot >= static_cast<int>(savedPresets->presets().size())) return;
  const SavedPresets::Preset& preset = savedPresets->presets()[slot];
  applyPresetValues(preset.name, preset.values);
}

void CLoomwiseDoc::OnUpdateSavedPreset(CommandUi& ui, int slot) {
  const bool listed = savedPresets != nullptr && slot < static_cast<int>(savedPresets->presets().size());
  ui.setVisible(listed);
  ui.setEnabled(listed);
  if (listed) ui.setText(savedPresets->presets()[slot].name);
}

void CLoomwiseDoc::OnSavePreset() {
  if (savedPresets == nullptr) return;
  bool ok = false;
  const QString name = QInputDialog::getText(mainWindow(), message("Save Preset"), message("Name of the preset:"),
                                             QLineEdit::Normal, QString(), &ok)
                           .trimmed();
  if (!ok || name.isEmpty()) return;
  if (!savedPresets->save(name, cloth.parameters))
    QMessageBox::warning(mainWindow(), QCoreApplication::applicationName(),
                         message("There is room for %1 saved presets: save under the name of one to replace it.")
                             .arg(SavedPresets::kSlots));
}

void CLoomwiseDoc::applyPresetValues(const QString& name,
                                     const std::vector<std::pair<std::string, double>>& values) {
  applyParameterValues(cloth.parameters, values);
  controlsPanel->refresh();
  recordEdit(message("Preset %1").arg(name), false);
}

void CLoomwiseDoc::OnUpdateEditUndo(CommandUi& ui) {
  ui.setEnabled(undoStack.canUndo());
  ui.setText(undoStack.canUndo() ? message("&Undo %1\tCtrl+Z").arg(undoStack.undoText()) : message("&Undo\tCtrl+Z"));
}

void CLoomwiseDoc::OnUpdateEditRedo(CommandUi& ui) {
  ui.setEnabled(undoStack.canRedo());
  ui.setText(undoStack.canRedo() ? message("&Redo %1\tCtrl+Shift+Z").arg(undoStack.redoText())
                                  : message("&Redo\tCtrl+Shift+Z"));
}

void CLoomwiseDoc::recordEdit(const QString& what, bool mergeable) {
  SceneSnapshot now = SceneSnapshot::of(sim);
  if (now == lastEdit_) return;
  undoStack.push(new SceneEditCommand(lastEdit_, now, what, mergeable, [this](const SceneSnapshot& scene) {
    restoreScene(scene);
  }));
  lastEdit_ = std::move(now);
}

void CLoomwiseDoc::restoreScene(const SceneSnapshot& scene) {
  scene.applyTo(sim);
  lastEdit_ = scene;
  controlsPanel->refresh();
  scenePanel->refresh(std::min(scenePanel->list->currentRow(), static_cast<int>(scene.colliders.size()) - 1));
  updateAllViews();
}

void CLoomwiseDoc::OnSolver(Solver solver) {
  sim.setSolver(solver);
  controlsPanel->setSolver(solver);
}

void CLoomwiseDoc::OnUpdateSolver(CommandUi& ui, Solver solver) { ui.setChecked(sim.solver() == solver); }

void CLoomwiseDoc::OnViewClothControls() {
  controlsVisible = !controlsVisible;
  showPanels(true);
}

void CLoomwiseDoc::OnUpdateViewClothControls(CommandUi& ui) { ui.setChecked(controlsVisible); }

QWidget* CLoomwiseDoc::mainWindow() const { return host() != nullptr ? host()->mainWindow() : nullptr; }

// The program's and the cloth's names stay in front, so the user still sees which cloth records.
void CLoomwiseDoc::setMainCaption(const QString& text) const {
  if (QWidget* window = mainWindow())
    window->setWindowTitle(QStringLiteral("%1 - %2 - %3").arg(QCoreApplication::applicationName(), title(), text));
}

void CLoomwiseDoc::OnFileSave() {
  RecordingSettingsDialog settings;
  session.timeStepSkip = session.presetSkip();
  settings.timeStepSkip = recordingSettings.skip;
  settings.patchesU = recordingSettings.patchesU;
  settings.patchesV = recordingSettings.patchesV;
  // No step may run while the dialogs are open; the simulation runs afterwards, whatever the outcome.
  runTimer.stop();
  if (session.recording)
    stopRecording();
  else
    startRecording(settings);
  runTimer.start();
}

void CLoomwiseDoc::startRecording(RecordingSettingsDialog& settings) {
  // The chosen file is never written: it names the directory and the recording's files.
  const QString path = host() != nullptr ? host()->chooseFile(FileDialogKind::Save) : QString();
  if (path.isEmpty()) return;
  settings.timeStepLabel = QStringLiteral("Current delta t: ") + QString::number(session.timeStep);
  settings.formats =
      recordingSettings.formats.empty() ? RecordingSettingsDialog::rememberedFormats() : recordingSettings.formats;
  // Escape or Cancel: no recording.
  if (settings.doModal() != QDialog::Accepted) return;
  RecordingSettingsDialog::rememberFormats(settings.formats);
  recordingSettings = {recordingSettings.steps, settings.timeStepSkip, settings.patchesU, settings.patchesV, settings.formats};
  const std::string scriptPath = QFile::encodeName(path).toStdString();
  if (!mayReplace(session.existingFiles(scriptPath, settings.formats))) return;
  if (session.start(scriptPath, settings.timeStepSkip, settings.patchesU, settings.patchesV, settings.formats) != 0)
    showRecordingError(message("Unable to start recording."), session.lastError(), true);
}

// An earlier recording under the same name is replaced only when the user says so.
bool CLoomwiseDoc::mayReplace(const std::vector<std::string>& files) const {
  if (files.empty()) return true;
  QStringList names;
  for (const std::string& file : files) names << QDir::toNativeSeparators(QFile::decodeName(file.c_str()));
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                  files.size() == 1 ? message("The recording would replace a file of an earlier one.")
                                    : message("The recording would replace %1 files of an earlier one.").arg(files.size()),
                  QMessageBox::Yes | QMessageBox::No, mainWindow());
  box.setInformativeText(names.join('\n'));
  box.button(QMessageBox::Yes)->setText(message("&Replace"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void CLoomwiseDoc::stopRecording() {
  const bool closed = session.stop() == 0;
  setMainCaption(QStringLiteral("Stopped recording"));
  if (!closed)
    showRecordingError(message("The end of the recording could not be written."), session.lastError(), false);
}

// Frames that cannot be written are lost: stop at the first rather than go on claiming them.
void CLoomwiseDoc::abandonRecording(int frame) {
  std::string reason = session.lastError();
  // The caches completed at the end keep the frames before this one; those that could not be are named.
  if (session.stop() != 0)
    for (const std::string& error : session.unfinished()) reason += "\nNot written: " + error;
  setMainCaption(QStringLiteral("Stopped recording"));
  showRecordingError(message("Frame %1 could not be written; the recording has stopped.").arg(frame), reason, false);
}

void CLoomwiseDoc::showRecordingError(const QString& text, const std::string& reason, bool offerCancel) const {
  const QMessageBox::StandardButtons buttons =
      offerCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::StandardButtons(QMessageBox::Ok);
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, buttons, mainWindow());
  box.setInformativeText(QString::fromLocal8Bit(reason));
  box.exec();
}

SimulationClock::Report CLoomwiseDoc::takeSteps(std::int64_t steps) { return clock.advance(steps); }

// Running on goes from the newest frame: the views show the live cloth again.
void CLoomwiseDoc::settleSteps(const SimulationClock::Report& report) {
  scrubbedTo_ = kLive;
  if (report.frameRefused) return abandonRecording(session.failedFrame());
  if (session.recording && session.recordedFrames != captionFrame_) {
    captionFrame_ = session.recordedFrames;
    setMainCaption(QString::asprintf("Recording frame: %d", session.recordedFrames));
  }
  if (report.diverged) stopDivergedCloth();
}

// The session wrote no frame for the broken step, so a recording ends on its last sound frame.
void CLoomwiseDoc::stopDivergedCloth() {
  runTimer.stop();
  if (session.recording) stopRecording();
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                  message("The cloth became unstable at step %1 and has been stopped.").arg(sim.stepCount()),
                  QMessageBox::Close, mainWindow());
  QString detail = message("Its settings are beyond what the simulation can follow. Raise the density or lower "
                           "kStretch, kShear or kBend on the Cloth Controls panel, or make a new cloth with a "
                           "wider spacing. Reset lays this cloth out again with the current settings.");
  if (sim.solver() == Solver::Explicit)
    detail += message(" The XPBD solver (Simulation > Solver > XPBD) is stable there.");
  box.setInformativeText(detail);
  const QPushButton* reset = box.addButton(message("&Reset"), QMessageBox::ResetRole);
  box.exec();
  if (box.clickedButton() == reset) OnSimulationReset();
}
