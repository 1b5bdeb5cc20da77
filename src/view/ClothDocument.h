#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "sim/SimulationClock.h"
#include "toolkit/Document.h"
#include "view/SimulationTimer.h"

class NodeBuffer;
class Simulation;

// What a view needs of its document: the simulation it draws, grabs and pins, and the one run
// timer that steps it, however many views show it. Closing a view never stops the cloth, and two
// views never step it twice.
class ClothDocument : public Document {
public:
  explicit ClothDocument(DocumentHost* host = nullptr);
  ~ClothDocument() override;

  virtual Simulation& simulation() = 0;
  // The positions the views draw in place of the live cloth's: those published for a tick's
  // painting while its steps run, else keptFrame.
  const NodeBuffer* shownFrame() const;
  // An earlier frame the timeline shows, or none.
  virtual const NodeBuffer* keptFrame() const { return nullptr; }
  // The live positions, for the views to draw while the next steps run.
  void publishPositions();

  // `steps` steps at once, as a timer tick takes them, and what follows from them.
  void advance(std::int64_t steps) { settleSteps(takeSteps(steps)); }
  // One step.
  void advanceFrame() { advance(1); }
  // Takes the steps. A real-time tick calls it on its stepping thread while this one paints, so
  // it touches the simulation and what listens to it (the recording, the kept frames) only.
  virtual SimulationClock::Report takeSteps(std::int64_t steps) = 0;
  // What the steps call for in the window (captions, messages), on the window's thread.
  virtual void settleSteps(const SimulationClock::Report& /*report*/) {}

  // The user changed the scene's settings from a view (a node pinned): one step to take back.
  virtual void sceneEdited(const QString& /*what*/) {}

  SimulationTimer runTimer{*this};

private:
  std::unique_ptr<NodeBuffer> published_;
};
