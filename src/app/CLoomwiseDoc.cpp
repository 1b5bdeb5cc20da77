#include "app/CLoomwiseDoc.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include "app/ClothControlsDialog.h"
#include "app/ClothInitDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "cloth/ClothShape.h"
#include "toolkit/DocumentHost.h"
#include "view/ClothView.h"

namespace {

QString message(const char* text) { return QCoreApplication::translate("CLoomwiseDoc", text); }

}  // namespace

CLoomwiseDoc::CLoomwiseDoc(DocumentHost* host) : ClothDocument(host), session(cloth) {
  controlsPanel = std::make_unique<ClothControlsDialog>(&cloth.parameters, mainWindow());
  controlsPanel->create();
  layOutCloth();
  onCommand(ID_VIEW_CLOTH_CONTROLS, [this] { OnViewClothControls(); });
  onUpdate(ID_VIEW_CLOTH_CONTROLS, [this](CommandUi& ui) { OnUpdateViewClothControls(ui); });
  onCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
  onCommand(ID_SIMULATION_RESET, [this] { OnSimulationReset(); });
}

CLoomwiseDoc::~CLoomwiseDoc() = default;

bool CLoomwiseDoc::OnNewDocument() {
  if (!ClothDocument::OnNewDocument()) return false;
  ClothInitDialog dialog;
  shape = ClothShape();  // the defaults, used when the dialog is cancelled
  if (dialog.doModal() == QDialog::Accepted) shape = {dialog.nodeSpacing, dialog.clothWidth, dialog.clothHeight};
  layOutCloth();
  return true;
}

void CLoomwiseDoc::layOutCloth() {
  shape.layOut(cloth);
  controlsPanel->setNodeSpacing(cloth.spacing);
}

void CLoomwiseDoc::OnSimulationReset() {
  if (session.recording) stopRecording();
  layOutCloth();
  updateAllViews();
}

void CLoomwiseDoc::OnTitleChanged() { controlsPanel->setDocumentTitle(title()); }

void CLoomwiseDoc::OnViewClothControls() {
  controlsVisible = !controlsVisible;
  controlsPanel->setVisible(controlsVisible);
}

void CLoomwiseDoc::OnUpdateViewClothControls(CommandUi& ui) { ui.setChecked(controlsVisible); }

QWidget* CLoomwiseDoc::mainWindow() const { return host() != nullptr ? host()->mainWindow() : nullptr; }

void CLoomwiseDoc::setMainCaption(const QString& text) const {
  if (QWidget* window = mainWindow()) window->setWindowTitle(text);
}

ClothView* CLoomwiseDoc::firstView() const {
  const std::vector<ClothView*> views = clothViews();
  return views.empty() ? nullptr : views.front();
}

void CLoomwiseDoc::OnFileSave() {
  RecordingSettingsDialog settings;
  session.timeStepSkip = session.presetSkip();
  settings.timeStepSkip = session.timeStepSkip;
  // No step may run while the dialogs are open.
  ClothView* view = firstView();
  if (view != nullptr) view->stopTimer();
  if (session.recording)
    stopRecording();
  else
    startRecording(settings);
  if (view != nullptr) view->startTimer();
}

void CLoomwiseDoc::startRecording(RecordingSettingsDialog& settings) {
  // The chosen file is never written: it names the directory and the recording's files.
  const QString path = host() != nullptr ? host()->chooseFile(FileDialogKind::Save) : QString();
  if (path.isEmpty()) return;
  settings.timeStepLabel = QStringLiteral("Current delta t: ") + QString::number(session.timeStep);
  settings.formats = RecordingSettingsDialog::rememberedFormats();
  if (settings.doModal() == QDialog::Accepted) RecordingSettingsDialog::rememberFormats(settings.formats);
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
  const std::string reason = session.lastError();
  session.stop();
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
  const SimulationClock::Report report = clock.advance(steps);
  if (report.failed) return abandonRecording(report.lastFrame);
  if (report.lastFrame != 0) setMainCaption(QString::asprintf("Recording frame: %d", report.lastFrame));
  if (report.diverged) stopDivergedCloth();
}

// The session wrote no frame for the broken step, so a recording ends on its last sound frame.
void CLoomwiseDoc::stopDivergedCloth() {
  for (ClothView* view : clothViews()) view->stopTimer();
  if (session.recording) stopRecording();
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                  message("The cloth became unstable at step %1 and has been stopped.").arg(session.stepCount),
                  QMessageBox::Close, mainWindow());
  box.setInformativeText(message("Its settings are beyond what the simulation can follow. Raise the density or lower "
                                 "kStretch, kShear or kBend on the Cloth Controls panel, or make a new cloth with a "
                                 "wider spacing. Reset lays this cloth out again with the current settings."));
  const QPushButton* reset = box.addButton(message("&Reset"), QMessageBox::ResetRole);
  box.exec();
  if (box.clickedButton() == reset) OnSimulationReset();
}
