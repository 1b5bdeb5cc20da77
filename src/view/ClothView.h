#pragma once

#include "toolkit/View.h"

// What a document needs of its views: the simulation timer each runs, which the document stops
// while it asks the user something and when its cloth has broken down.
class ClothView : public View {
public:
  virtual void startTimer() = 0;
  virtual void stopTimer() = 0;
};
