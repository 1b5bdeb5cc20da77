#pragma once

#include <memory>

#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "record/RecordingSession.h"
#include "record/SimulationClock.h"
#include "view/ClothDocument.h"

class ClothControlsDialog;
class ClothView;
class QString;
class QWidget;
class RecordingSettingsDialog;

// One simulated cloth: the cloth itself, its Cloth Controls panel, and the simulation clock with
// the recording counters (in `session`: stepCount, timeStepSkip, recordedFrames, recording,
// timeStep). Documents have no file content.
class CLoomwiseDoc : public ClothDocument {
public:
  // `host`: the program the document runs in, whose main window owns the panel; none for a
  // document on its own.
  explicit CLoomwiseDoc(DocumentHost* host = nullptr);
  ~CLoomwiseDoc() override;

  // Asks for the new cloth's spacing and size; Escape gives the default cloth.
  bool OnNewDocument() override;
  void OnViewClothControls();
  void OnUpdateViewClothControls(CommandUi& ui);
  // File > Save: starts a recording after asking for its path and settings, or stops the running
  // one. The first view's simulation runs afterwards, whatever the outcome.
  void OnFileSave();
  // One step; while recording, every timeStepSkip-th step records a frame and says so in the
  // main window's caption. A frame that cannot be written ends the recording with a message.
  // A step that finds the cloth diverged stops every view's timer and the recording instead, and
  // says so in a message box that offers to reset the cloth.
  void advanceFrame() override { advance(1); }
  // `steps` steps, recorded as if taken one by one; the caption names the last frame.
  void advance(std::int64_t steps) override;
  void OnTitleChanged() override;
  // Simulation > Reset: lays the cloth out again as it was made (same spacing and size, parameter
  // values kept). A recording under way is stopped first, so it ends on its last frame.
  void OnSimulationReset();
  Cloth& simulatedCloth() override { return cloth; }

  Cloth cloth;
  std::unique_ptr<ClothControlsDialog> controlsPanel;  // destroyed before the cloth it edits
  bool controlsVisible = false;
  ClothShape shape;  // the grid the cloth was made with, which Reset lays out again
  RecordingSession session;
  SimulationClock clock{session};

private:
  QWidget* mainWindow() const;
  ClothView* firstView() const;
  // Recording status goes to the main window's caption, until the toolkit next sets its title.
  void setMainCaption(const QString& text) const;
  void startRecording(RecordingSettingsDialog& settings);
  void stopRecording();
  void abandonRecording(int frame);
  void layOutCloth();
  void stopDivergedCloth();
  // A warning whose detail is the recorder's "PATH: reason".
  void showRecordingError(const QString& text, const std::string& reason, bool offerCancel) const;
};
