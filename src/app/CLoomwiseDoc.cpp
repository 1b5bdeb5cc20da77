#include "app/CLoomwiseDoc.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <ctime>

#include "app/ClothControlsDialog.h"
#include "app/ClothInitDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "cloth/ClothShape.h"
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

struct SolverCommand {
  int id;
  Solver solver;
};

constexpr SolverCommand kSolverCommands[] = {{ID_SOLVER_EXPLICIT, Solver::Explicit}, {ID_SOLVER_XPBD, Solver::Xpbd}};

}  // namespace

CLoomwiseDoc::CLoomwiseDoc(DocumentHost* host)
    : ClothDocument(host), sim(static_cast<std::uint32_t>(std::time(nullptr))), session(sim) {
  controlsPanel = std::make_unique<ClothControlsDialog>(&cloth.parameters, mainWindow());
  controlsPanel->create();
  layOutCloth(ClothShape());
  onCommand(ID_VIEW_CLOTH_CONTROLS, [this] { OnViewClothControls(); });
  onUpdate(ID_VIEW_CLOTH_CONTROLS, [this](CommandUi& ui) { OnUpdateViewClothControls(ui); });
  onCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
  onCommand(ID_SIMULATION_RESET, [this] { OnSimulationReset(); });
  for (const PinCommand& command : kPinCommands) {
    onCommand(command.id, [this, command] { OnPins(command.preset); });
    onUpdate(command.id, [this, command](CommandUi& ui) { OnUpdatePins(ui, command.preset); });
  }
  for (const SolverCommand& command : kSolverCommands) {
    onCommand(command.id, [this, command] { OnSolver(command.solver); });
    onUpdate(command.id, [this, command](CommandUi& ui) { OnUpdateSolver(ui, command.solver); });
  }
}

CLoomwiseDoc::~CLoomwiseDoc() = default;

bool CLoomwiseDoc::OnNewDocument() {
  if (!ClothDocument::OnNewDocument()) return false;
  ClothInitDialog dialog;
  ClothShape shape;  // the defaults, used when the dialog is cancelled
  if (dialog.doModal() == QDialog::Accepted) shape = {dialog.nodeSpacing, dialog.clothWidth, dialog.clothHeight};
  layOutCloth(shape);
  return true;
}

void CLoomwiseDoc::layOutCloth(const ClothShape& shape) {
  sim.layOut(shape);
  controlsPanel->setNodeSpacing(cloth.spacing);
}

void CLoomwiseDoc::OnSimulationReset() {
  if (session.recording) stopRecording();
  sim.reset();
  updateAllViews();
}

void CLoomwiseDoc::OnPins(PinSet::Preset preset) {
  sim.setPins(PinSet(preset));
  updateAllViews();
}

void CLoomwiseDoc::OnUpdatePins(CommandUi& ui, PinSet::Preset preset) { ui.setChecked(sim.pins().preset() == preset); }

void CLoomwiseDoc::OnSolver(Solver solver) { sim.setSolver(solver); }

void CLoomwiseDoc::OnUpdateSolver(CommandUi& ui, Solver solver) { ui.setChecked(sim.solver() == solver); }

void CLoomwiseDoc::OnTitleChanged() { controlsPanel->setDocumentTitle(title()); }

void CLoomwiseDoc::OnViewClothControls() {
  controlsVisible = !controlsVisible;
  controlsPanel->setVisible(controlsVisible);
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
  settings.timeStepSkip = session.timeStepSkip;
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
  settings.formats = RecordingSettingsDialog::rememberedFormats();
  // Escape or Cancel: no recording.
  if (settings.doModal() != QDialog::Accepted) return;
  RecordingSettingsDialog::rememberFormats(settings.formats);
  const std::string scriptPath = QFile::encodeName(path).toStdString();
  if (session.start(scriptPath, settings.timeStepSkip, settings.patchesU, settings.patchesV, settings.formats) != 0)
    showRecordingError(message("Unable to start recording."), session.lastError(), true);
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

void CLoomwiseDoc::advance(std::int64_t steps) {
  const int framesBefore = session.recordedFrames;
  const SimulationClock::Report report = clock.advance(steps);
  if (report.frameRefused) return abandonRecording(session.failedFrame());
  if (session.recordedFrames != framesBefore)
    setMainCaption(QString::asprintf("Recording frame: %d", session.recordedFrames));
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
