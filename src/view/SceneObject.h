#pragma once

#include <cstdint>

// A pickable object of the scene. Picking renders the object in OpenGL's selection mode under a
// pick matrix that the caller has set up; the nearest hit so far is kept process-wide, shared by
// the objects of every view.
class SceneObject {
public:
  // The axes a drag may move along.
  enum Axis { AxisX = 1, AxisY = 2, AxisZ = 4 };

  SceneObject() = default;
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;
  // Forgets the nearest-pick record if it names this object.
  virtual ~SceneObject();

  // This object when its drawing hits the current pick region, else none. Does not read x and y:
  // the caller's pick matrix says where the region is.
  virtual SceneObject* pick(int x, int y, int option);
  // Moves the object under the mouse point along the axes of the set; the base stays put.
  virtual void drag(int reservedA, int reservedB, int x, int y, int axisSet);
  virtual void draw(int option) = 0;
  // The object reflected in the plane y = h. Kept for the floor reflection; nothing calls it yet.
  virtual void drawMirrored(int option, double h);
  // The object flattened onto the plane y = h, in translucent black. Kept for the floor shadow;
  // nothing calls it yet.
  virtual void drawShadow(int option, double h);

  bool highlighted = false;  // toggled when a nearer pick replaces this object as the nearest

  static constexpr int kSelectionBufferSize = 512;
  static std::uint32_t selectionBuffer[kSelectionBufferSize];
  static SceneObject* nearestPicked;          // none until something is picked
  static std::uint32_t nearestPickDepth;      // the depth metric of nearestPicked's hit
};
