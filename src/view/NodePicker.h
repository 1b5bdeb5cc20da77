#pragma once

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"

// Finds the node of the cloth under the mouse and carries a mouse point back into the scene, on
// the CPU, for the view's orthographic camera: one pixel spans 2 × viewScale world units both ways,
// the view's centre looks at the camera's origin.
class NodePicker {
public:
  // `camera`: the model-view matrix, OpenGL column-major; width and height: the client size.
  NodePicker(const double camera[16], double viewScale, int width, int height);

  struct ScreenPoint {
    double x, y;   // client pixels, y downwards
    double depth;  // eye z: larger is nearer the viewer
  };
  ScreenPoint project(const Vec3& p) const;
  // The node within `radius` pixels of (x, y) nearest to it, the nearest to the viewer among
  // equally near ones; −1 when there is none.
  int nodeAt(const NodeBuffer& nodes, double x, double y, double radius) const;
  // The point under (x, y) at eye depth `depth`: in the plane facing the camera at that depth.
  Vec3 unproject(double x, double y, double depth) const;

private:
  double camera_[16];
  double viewScale_;
  int width_, height_;
};
