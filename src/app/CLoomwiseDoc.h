#pragma once

#include <memory>

#include "cloth/Cloth.h"
#include "record/RecordingSession.h"
#include "view/ClothDocument.h"

class ClothControlsDialog;

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
  // One step; while recording, every timeStepSkip-th step records a frame and says so in the
  // main window's caption.
  void advanceFrame() override;
  Cloth& simulatedCloth() override { return cloth; }

  Cloth cloth;
  std::unique_ptr<ClothControlsDialog> controlsPanel;  // destroyed before the cloth it edits
  bool controlsVisible = false;
  RecordingSession session;
};
