#include "view/DisplayOptions.h"

#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Display/");

}  // namespace

DisplayOptions DisplayOptions::remembered() {
  const QSettings settings;
  DisplayOptions d;
  d.wireframe = settings.value(kGroup + "wireframe", d.wireframe).toBool();
  d.nodes = settings.value(kGroup + "nodes", d.nodes).toBool();
  d.pins = settings.value(kGroup + "pins", d.pins).toBool();
  d.floorGrid = settings.value(kGroup + "floorGrid", d.floorGrid).toBool();
  const QColor colour(settings.value(kGroup + "clothColour").toString());
  if (colour.isValid()) d.clothColour = colour;
  return d;
}

void DisplayOptions::remember() const {
  QSettings settings;
  settings.setValue(kGroup + "wireframe", wireframe);
  settings.setValue(kGroup + "nodes", nodes);
  settings.setValue(kGroup + "pins", pins);
  settings.setValue(kGroup + "floorGrid", floorGrid);
  settings.setValue(kGroup + "clothColour", clothColour.name());
}
