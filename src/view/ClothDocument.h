#pragma once

#include <cstdint>

#include "toolkit/Document.h"

class Cloth;

// What a view needs of its document: the cloth it draws and steps of the simulation.
class ClothDocument : public Document {
public:
  using Document::Document;

  virtual Cloth& simulatedCloth() = 0;
  // One step.
  virtual void advanceFrame() = 0;
  // `steps` steps at once, as a real-time tick takes them.
  virtual void advance(std::int64_t steps) {
    for (std::int64_t i = 0; i < steps; ++i) advanceFrame();
  }
};
