#pragma once

#include <cstdint>

#include <QString>

#include "toolkit/Document.h"
#include "view/SimulationTimer.h"

class NodeBuffer;
class Simulation;

// What a view needs of its document: the simulation it draws, grabs and pins, and the one run
// timer that steps it, however many views show it. Closing a view never stops the cloth, and two
// views never step it twice.
class ClothDocument : public Document {
public:
  explicit ClothDocument(DocumentHost* host = nullptr)
      : Document(host), runTimer([this](std::int64_t steps) { advance(steps); }, [this] { updateAllViews(); }) {}

  virtual Simulation& simulation() = 0;
  // The positions the views draw in place of the live cloth's: an earlier frame the timeline
  // shows, or none.
  virtual const NodeBuffer* shownFrame() const { return nullptr; }
  // `steps` steps at once, as a timer tick takes them.
  virtual void advance(std::int64_t steps) = 0;
  // One step.
  void advanceFrame() { advance(1); }

  // The user changed the scene's settings from a view (a node pinned): one step to take back.
  virtual void sceneEdited(const QString& /*what*/) {}

  SimulationTimer runTimer;
};
