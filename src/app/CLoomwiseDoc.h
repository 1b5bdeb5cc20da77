#pragma once

#include <QUndoStack>
#include <memory>

#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "record/RecordingSession.h"
#include "record/SceneDescription.h"
#include "sim/FrameHistory.h"
#include "sim/SceneSnapshot.h"
#include "sim/Simulation.h"
#include "sim/SimulationClock.h"
#include "view/ClothDocument.h"

class ClothControlsDialog;
class QString;
class QWidget;
class RecordingSettingsDialog;
class SavedPresets;
class ScenePanel;

// One simulated cloth: its simulation with the run timer (in ClothDocument), its Cloth Controls
// panel, the recording counters (in `session`: timeStepSkip, recordedFrames, recording,
// timeStep), the frames kept for the timeline and the undo stack of its settings. Its file is a
// scene file: Save As writes the whole scene, Open reads one back.
class CLoomwiseDoc : public ClothDocument {
public:
  // `host`: the program the document runs in, whose main window owns the panel; none for a
  // document on its own.
  explicit CLoomwiseDoc(DocumentHost* host = nullptr);
  ~CLoomwiseDoc() override;

  // Asks for the new cloth's spacing, size and lay; Escape or Cancel makes no cloth.
  bool OnNewDocument() override;
  // Opens a document as Save As writes it: a scene file, whose whole scene the new cloth takes,
  // or an empty file (as Save As wrote before scenes), which gives the default cloth. Any other
  // file is refused with a message, so that a recording or a cache is never taken for a cloth; a
  // scene file that cannot be used, with the reason, and nothing of it is taken.
  bool OnOpenDocument(const QString& path) override;
  // File > Save As: the scene file of the cloth as it is now, with its seed and recording settings.
  bool OnSaveDocument(const QString& path) override;
  void OnViewClothControls();
  void OnUpdateViewClothControls(CommandUi& ui);
  // File > Save: starts a recording after asking for its path and settings, or stops the running
  // one. The first view's simulation runs afterwards, whatever the outcome.
  void OnFileSave();
  // `steps` steps, recorded as if taken one by one: while recording, every timeStepSkip-th step
  // records a frame.
  SimulationClock::Report takeSteps(std::int64_t steps) override;
  // Then the views show the live cloth again and the caption names the last frame recorded. A
  // frame that could not be written ends the recording with a message. A step that found the
  // cloth diverged stops the run timer and the recording instead, and says so in a message box
  // that offers to reset the cloth.
  void settleSteps(const SimulationClock::Report& report) override;
  void OnTitleChanged() override;
  // Simulation > Reset: lays the cloth out again as it was made (same spacing and size, parameter
  // values and pins kept), with the simulated time at 0 and the gusts from the start again. A
  // recording under way is stopped first, so it ends on its last frame.
  void OnSimulationReset();
  // Simulation > Step Frame: the steps to the next frame (a multiple of the simulation's
  // stepsPerFrame), through advance; enabled while the cloth is stopped and sound.
  void OnSimulationStepFrame();
  void OnUpdateSimulationStepFrame(CommandUi& ui);
  // The timeline: the views draw kept frame `index` of `history`; the newest index, or any
  // beyond, shows the live cloth. Every advance and every reset goes back to the live cloth.
  void showFrame(std::size_t index);
  const NodeBuffer* keptFrame() const override;
  // The index of the frame shown, the newest one's while the live cloth is.
  std::size_t shownIndex() const;
  // The frame number and simulated time of what the views draw: the live cloth's are its newest
  // frame's number and its own time.
  std::int64_t shownFrameNumber() const;
  double shownTime() const;
  // Simulation > Pins: one of the presets.
  void OnPins(PinSet::Preset preset);
  void OnUpdatePins(CommandUi& ui, PinSet::Preset preset);
  // Scene > Add ...: a ground plane, sphere or box under the cloth as it is now; the Scene panel
  // shows it, selected, to be moved or sized.
  enum class Shape { Ground, Sphere, Box };
  void OnAddCollider(Shape shape);
  // Scene > Import Collider Mesh: a mesh file read as it stands; one that cannot be is refused
  // with the reason.
  void OnImportColliderMesh();
  void OnViewScenePanel();
  void OnUpdateViewScenePanel(CommandUi& ui);
  // The panels the user asked for show while the document is the active one, so that one set
  // is on screen at a time and the View menu's checks tell what is shown.
  void showPanels(bool active);
  // Simulation > Solver: the explicit step (checked for a new cloth) or XPBD, from the next step on.
  void OnSolver(Solver solver);
  void OnUpdateSolver(CommandUi& ui, Solver solver);
  Simulation& simulation() override { return sim; }
  // Simulation > Presets: a material's values (checked while the cloth has them), one of the
  // user's saved presets, or the parameters as they are saved as a preset under a name asked for.
  void OnPreset(int material);
  void OnUpdatePreset(CommandUi& ui, int material);
  void OnSavedPreset(int slot);
  void OnUpdateSavedPreset(CommandUi& ui, int slot);
  void OnSavePreset();
  // Edit > Undo and Redo: the scene's settings (parameters, presets, pins, colliders) step by step.
  void OnUpdateEditUndo(CommandUi& ui);
  void OnUpdateEditRedo(CommandUi& ui);
  // What changed in the settings since the last edit becomes one step of the undo stack.
  void sceneEdited(const QString& what) override { recordEdit(what, false); }

  // Gusts seeded from the time, as every new cloth's are.
  Simulation sim;
  Cloth& cloth = sim.cloth();
  std::unique_ptr<ClothControlsDialog> controlsPanel;  // destroyed before the cloth it edits
  bool controlsVisible = false;  // asked for: shown while the document is active
  std::unique_ptr<ScenePanel> scenePanel;
  bool sceneVisible = false;
  RecordingSession session;
  SimulationClock clock{sim};
  SavedPresets* savedPresets = nullptr;  // the program's, not owned; none for a document on its own
  QUndoStack undoStack;
  // The frames since the last lay-out, for the timeline.
  FrameHistory history{sim};
  // What the Recording Settings dialog offers next and Save As writes: the dialog's presets for a
  // new cloth, then what was chosen with OK or read from a scene. No formats: those last chosen
  // in any window.
  SceneDescription::Recording recordingSettings;

private:
  bool scrubbed() const { return scrubbedTo_ != kLive && scrubbedTo_ + 1 < history.size(); }
  QWidget* mainWindow() const;
  // The Cloth Controls and Scene panels, showing the simulation as it is now.
  void makePanels();
  // Recording status goes to the main window's caption, until the toolkit next sets its title.
  void setMainCaption(const QString& text) const;
  void startRecording(RecordingSettingsDialog& settings);
  bool mayReplace(const std::vector<std::string>& files) const;
  void stopRecording();
  void abandonRecording(int frame);
  void layOutCloth(const ClothShape& shape);
  void addCollider(Collider collider);
  void stopDivergedCloth();
  // `mergeable`: a further edit under the same name joins this one (a slider dragged).
  void recordEdit(const QString& what, bool mergeable);
  void restoreScene(const SceneSnapshot& scene);
  void applyPresetValues(const QString& name, const std::vector<std::pair<std::string, double>>& values);
  // A warning whose detail is the recorder's "PATH: reason".
  void showRecordingError(const QString& text, const std::string& reason, bool offerCancel) const;

  SceneSnapshot lastEdit_;  // the settings as the undo stack's last step left them
  int captionFrame_ = 0;    // the recorded frame the caption names
  // The kept frame the views draw, while it is not the newest.
  static constexpr std::size_t kLive = static_cast<std::size_t>(-1);
  std::size_t scrubbedTo_ = kLive;
};
