#pragma once

#include <memory>

#include "cloth/Cloth.h"
#include "record/RecordingSession.h"
#include "record/SimulationClock.h"
#include "view/ClothDocument.h"

class CLoomwiseView;
class ClothControlsDialog;
class QString;
class RecordingSettingsDialog;

// One simulated cloth: the cloth itself, its Cloth Controls panel, and the simulation clock with
// the recording counters (in `session`: stepCount, timeStepSkip, recordedFrames, recording,
// timeStep). Documents have no file content.
class CLoomwiseDoc : public ClothDocument {
public:
  CLoomwiseDoc();
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
  void advanceFrame() override { advance(1); }
  // `steps` steps, recorded as if taken one by one; the caption names the last frame.
  void advance(std::int64_t steps) override;
  void OnTitleChanged() override;
  Cloth& simulatedCloth() override { return cloth; }

  Cloth cloth;
  std::unique_ptr<ClothControlsDialog> controlsPanel;  // destroyed before the cloth it edits
  bool controlsVisible = false;
  RecordingSession session;
  SimulationClock clock{session};

private:
  CLoomwiseView* firstView() const;
  void startRecording(RecordingSettingsDialog& settings);
  void stopRecording();
  void abandonRecording(int frame);
  // A warning whose detail is the recorder's "PATH: reason".
  void showRecordingError(const QString& text, const std::string& reason, bool offerCancel) const;
};
