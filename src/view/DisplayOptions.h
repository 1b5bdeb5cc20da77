#pragma once

#include <QColor>

// How a view draws its scene: the sheet shaded or as its grid of lines, its nodes and pins as dots
// or not, a floor grid under it, and the sheet's colour. A new view starts from what the user
// last chose, in this session or an earlier one.
struct DisplayOptions {
  bool wireframe = false;
  bool nodes = false;
  bool pins = true;
  bool floorGrid = false;
  QColor clothColour = QColor::fromRgbF(0.75f, 0.75f, 0.75f);

  static DisplayOptions remembered();
  void remember() const;
};
