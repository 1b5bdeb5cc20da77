#include "view/SceneDrawing.h"

#include <GL/gl.h>
#include <cmath>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"
#include "view/SceneGeometry.h"

namespace {

// OpenGL reads matrices column-major; Matrix is row-major, so it gets the transpose.
void multiplyModelView(const Matrix& m) {
  const Matrix t = m.transpose();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMultMatrixd(t.data);
}

Vector point(double x, double y, double z) {
  const double v[3] = {x, y, z};
  return Vector(3, v);
}

}  // namespace

void drawAxes(const Matrix& placement, double a) {
  multiplyModelView(placement);
  const Vector x = point(a, 0, 0), y = point(0, a, 0), z = point(0, 0, a);
  // The x arrowhead is shorter than the other two.
  glColor3d(1, 0, 0);
  drawCone(x, x.scale(0.2), 0.06 * a);
  glColor3d(0, 1, 0);
  drawCone(y, y.scale(0.25), 0.06 * a);
  glColor3d(0, 0, 1);
  drawCone(z, z.scale(0.25), 0.06 * a);
  glBegin(GL_LINES);
  glColor3d(1, 0, 0);
  glVertex3d(a, 0, 0);
  glVertex3d(0, 0, 0);
  glColor3d(0, 1, 0);
  glVertex3d(0, a, 0);
  glVertex3d(0, 0, 0);
  glColor3d(0, 0, 1);
  glVertex3d(0, 0, a);
  glVertex3d(0, 0, 0);
  glEnd();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void drawCone(const Vector& p, const Vector& v, double R) {
  Matrix F(4, 4);
  frameAlong(p, v, F);
  multiplyModelView(F);
  const double h = v.norm();
  const double L = std::sqrt(h * h + R * R);
  // The side normals are the outward normals scaled by h / R; OpenGL does not renormalise them,
  // which brightens the arrowheads' shading.
  const double nz = h / L;
  const double nr = h * h / (L * R);
  glBegin(GL_TRIANGLE_FAN);
  glNormal3d(0, 0, 1);
  glVertex3d(0, 0, h);
  for (int k = 0; k <= 9; ++k) {
    const double c = unitCircleCos[4 * k], s = unitCircleSin[4 * k];
    glNormal3d(nr * c, nr * s, nz);
    glVertex3d(R * c, R * s, 0);
  }
  glEnd();
  // The base runs the rim the other way round, 360° down to 0°, its first vertex as the hub.
  glBegin(GL_TRIANGLE_FAN);
  glNormal3d(0, 0, -1);
  for (int k = 0; k <= 9; ++k) {
    const double c = unitCircleCos[36 - 4 * k], s = unitCircleSin[36 - 4 * k];
    glVertex3d(R * c, R * s, 0);
  }
  glEnd();
  glPopMatrix();
}
