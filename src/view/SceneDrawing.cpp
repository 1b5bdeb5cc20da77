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

void drawTetrahedron(const Vector& p, double s, const float* colour) {
  constexpr double kInvSqrt3 = 0.5773502691896257;      // 1 / √3
  constexpr double kInv2Sqrt6 = 0.2041241452319315;     // 1 / (2√6)
  constexpr double kInv2Sqrt3 = 0.28867513459481287;    // 1 / (2√3)
  const Vector corner[4] = {point(s * kInvSqrt3, 0, -s * kInv2Sqrt6),
                            point(-s * kInv2Sqrt3, s / 2, -s * kInv2Sqrt6),
                            point(-s * kInv2Sqrt3, -s / 2, -s * kInv2Sqrt6), point(0, 0, 3 * s * kInv2Sqrt6)};
  // Face i lies opposite vertex i, its vertices counter-clockwise seen from outside.
  static constexpr int kFaces[4][3] = {{1, 2, 3}, {0, 3, 2}, {0, 1, 3}, {0, 2, 1}};
  glBegin(GL_TRIANGLES);
  if (colour != nullptr) glColor3fv(colour);
  for (int i = 0; i < 4; ++i) {
    // The face's outward normal points from its far vertex through the centre.
    const Vector normal = corner[i].normalize().scale(-1);
    glNormal3dv(normal.data);
    for (int v : kFaces[i]) {
      const Vector moved = corner[v].add(p);
      glVertex3dv(moved.data);
    }
  }
  glEnd();
}

void drawFloorGrid(double height, double halfSize, double step) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glColor3d(0.35, 0.35, 0.35);
  const int lines = static_cast<int>(halfSize / step);
  const double edge = lines * step;
  glBegin(GL_LINES);
  for (int i = -lines; i <= lines; ++i) {
    glVertex3d(i * step, height, -edge);
    glVertex3d(i * step, height, edge);
    glVertex3d(-edge, height, i * step);
    glVertex3d(edge, height, i * step);
  }
  glEnd();
  glPopAttrib();
}
