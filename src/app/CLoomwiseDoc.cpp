#include "app/CLoomwiseDoc.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>

#include "app/ClothControlsDialog.h"
#include "app/ClothInitDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "cloth/ClothShape.h"
#include "toolkit/Application.h"
#include "toolkit/MdiFrame.h"
#include "view/CLoomwiseView.h"

namespace {

QWidget* mainWindow() {
  Application* app = Application::instance();
  return app != nullptr ? app->mainWindow() : nullptr;
}

QString message(const char* text) { return QCoreApplication::translate("CLoomwiseDoc", text); }

// Recording status goes to the main window's caption, until the toolkit next sets its title.
void setMainCaption(const QString& text) {
  if (QWidget* window = mainWindow()) window->setWindowTitle(text);
}

}  // namespace

CLoomwiseDoc::CLoomwiseDoc() : session(cloth) {
  ClothShape().layOut(cloth);
  controlsPanel = std::make_unique<ClothControlsDialog>(&cloth.parameters, mainWindow());
  controlsPanel->create();
  onCommand(ID_VIEW_CLOTH_CONTROLS, [this] { OnViewClothControls(); });
  onUpdate(ID_VIEW_CLOTH_CONTROLS, [this](CommandUi& ui) { OnUpdateViewClothControls(ui); });
  onCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
}

CLoomwiseDoc::~CLoomwiseDoc() = default;

bool CLoomwiseDoc::OnNewDocument() {
  if (!ClothDocument::OnNewDocument()) return false;
  ClothInitDialog dialog;
  ClothShape shape;  // the defaults, used when the dialog is cancelled
  if (dialog.doModal() == IDOK) shape = {dialog.nodeSpacing, dialog.clothWidth, dialog.clothHeight};
  shape.layOut(cloth);
  return true;
}

void CLoomwiseDoc::OnTitleChanged() { controlsPanel->setDocumentTitle(title()); }

void CLoomwiseDoc::OnViewClothControls() {
  controlsVisible = !controlsVisible;
  controlsPanel->setVisible(controlsVisible);
}

void CLoomwiseDoc::OnUpdateViewClothControls(CommandUi& ui) { ui.SetCheck(controlsVisible); }

CLoomwiseView* CLoomwiseDoc::firstView() const {
  return views().empty() ? nullptr : dynamic_cast<CLoomwiseView*>(views().front());
}

void CLoomwiseDoc::OnFileSave() {
  RecordingSettingsDialog settings;
  session.timeStepSkip = session.presetSkip();
  settings.timeStepSkip = session.timeStepSkip;
  // No step may run while the dialogs are open.
  CLoomwiseView* view = firstView();
  if (view != nullptr) view->stopTimer();
  if (session.recording)
    stopRecording();
  else
    startRecording(settings);
  if (view != nullptr) view->startTimer();
}

void CLoomwiseDoc::startRecording(RecordingSettingsDialog& settings) {
  // The chosen file is never written: it names the directory and the two scripts.
  const QString path = Application::instance()->chooseFile(FileDialogKind::Save);
  if (path.isEmpty()) return;
  settings.timeStepLabel = QStringLiteral("Current delta t: ") + QString::number(session.timeStep);
  settings.doModal();
  const std::string scriptPath = QFile::encodeName(path).toStdString();
  if (session.start(scriptPath, settings.timeStepSkip, settings.patchesU, settings.patchesV) != 0)
    showRecordingError(message("Unable to start recording."), session.recorder.lastError(), true);
}

void CLoomwiseDoc::stopRecording() {
  const bool closed = session.stop() == 0;
  setMainCaption(QStringLiteral("Stopped recording"));
  if (!closed)
    showRecordingError(message("The end of the recording could not be written."), session.recorder.lastError(), false);
}

// Frames that cannot be written are lost: stop at the first rather than go on claiming them.
void CLoomwiseDoc::abandonRecording(int frame) {
  const std::string reason = session.recorder.lastError();
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
  if (report.lastFrame == 0) return;
  if (report.failed)
    abandonRecording(report.lastFrame);
  else
    setMainCaption(QString::asprintf("Recording frame: %d", report.lastFrame));
}
