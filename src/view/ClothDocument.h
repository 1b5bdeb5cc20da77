#pragma once

#include "toolkit/Document.h"

class Cloth;

// What a view needs of its document: the cloth it draws and one step of the simulation.
class ClothDocument : public Document {
public:
  virtual Cloth& simulatedCloth() = 0;
  virtual void advanceFrame() = 0;
};
