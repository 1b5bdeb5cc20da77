#pragma once

#include "view/PickRecord.h"

// A pickable object of the scene. Picking renders the object in OpenGL's selection mode under a
// pick matrix that the caller has set up; the nearest hit so far is kept in the view's record.
class SceneObject {
public:
  // The axes a drag may move along.
  enum Axis { AxisX = 1, AxisY = 2, AxisZ = 4 };

  SceneObject() = default;
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;
  virtual ~SceneObject() = default;

  // This object when its drawing hits the current pick region, else none; a hit nearer than the
  // record's nearest becomes it. Does not read x and y: the caller's pick matrix says where the
  // region is.
  virtual SceneObject* pick(int x, int y, int option, PickRecord& record);
  // Moves the object under the mouse point along the axes of the set; the base stays put.
  virtual void drag(int reservedA, int reservedB, int x, int y, int axisSet);
  virtual void draw(int option) = 0;
  // The object reflected in the plane y = h. Kept for the floor reflection; nothing calls it yet.
  virtual void drawMirrored(int option, double h);
  // The object flattened onto the plane y = h, in translucent black. Kept for the floor shadow;
  // nothing calls it yet.
  virtual void drawShadow(int option, double h);

  bool highlighted = false;  // toggled when a nearer pick replaces this object as the nearest
};
