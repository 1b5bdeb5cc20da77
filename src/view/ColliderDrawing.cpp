#include "view/ColliderDrawing.h"

#include <GL/gl.h>

#include "scene/ColliderSurface.h"

void drawColliders(const std::vector<Collider>& colliders, double planeHalfSize) {
  glColor3d(0.45, 0.55, 0.7);
  for (const Collider& collider : colliders) {
    const ColliderSurface surface = surfaceOf(collider, planeHalfSize);
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
