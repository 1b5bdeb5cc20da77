#include "view/ColliderDrawing.h"

#include <GL/gl.h>

#include "sim/ColliderPass.h"

void ColliderDrawing::draw(const ColliderPass& colliders, double planeHalfSize) {
  if (&colliders != source_ || colliders.revision() != revision_ || planeHalfSize != planeHalfSize_) {
    surfaces_.clear();
    for (const Collider& collider : colliders.colliders()) surfaces_.push_back(surfaceOf(collider, planeHalfSize));
    source_ = &colliders;
    revision_ = colliders.revision();
    planeHalfSize_ = planeHalfSize;
  }
  glColor3d(0.45, 0.55, 0.7);
  for (const ColliderSurface& surface : surfaces_) {
    glBegin(GL_TRIANGLES);
    for (const auto& triangle : surface.triangles)
      for (int v : triangle) {
        const Vec3 &n = surface.normals[v], &p = surface.positions[v];
        glNormal3d(n.x, n.y, n.z);
        glVertex3d(p.x, p.y, p.z);
      }
    glEnd();
  }
}
