#include "sim/PairScreen.h"

#include <algorithm>
#include <cmath>

#include "sim/VectorClones.h"

// Written coordinate by coordinate and without branches, so that the compiler gathers eight pairs'
// nodes at once; the same sums in the same order as the pass's full look at a pair. The dues and
// marks written never alias the nodes' arrays read. The two screens' opening lines are written out
// in each: shared through a template or a helper, GCC 12 no longer vectorises the edge screen.

LOOMWISE_VECTOR_CLONES void screenNodeTriangles(const PairScreen& screen, const std::array<int, 4>* __restrict nodes,
                                                double* __restrict due, std::uint8_t* __restrict look, std::size_t count) {
  const double* __restrict x = screen.x;
  const double* __restrict y = screen.y;
  const double* __restrict z = screen.z;
  const double* __restrict odometer = screen.odometer;
  const double* __restrict moved = screen.moved;
  const double thickness = screen.thickness, dueSlack = screen.dueSlack;
  for (std::size_t i = 0; i < count; ++i) {
    const std::int64_t k = nodes[i][0], a = nodes[i][1], b = nodes[i][2], c = nodes[i][3];
    const double gone = odometer[k] + odometer[a] + odometer[b] + odometer[c];
    const double reading = odometer[k] + moved[k] + (odometer[a] + moved[a]) + (odometer[b] + moved[b]) +
                           (odometer[c] + moved[c]);
    const double abx = x[b] - x[a], aby = y[b] - y[a], abz = z[b] - z[a];
    const double acx = x[c] - x[a], acy = y[c] - y[a], acz = z[c] - z[a];
    const double nx = aby * acz - abz * acy, ny = abz * acx - abx * acz, nz = abx * acy - aby * acx;
    const double height = (x[k] - x[a]) * nx + (y[k] - y[a]) * ny + (z[k] - z[a]) * nz;
    const double clear = thickness + moved[k] + std::max(std::max(moved[a], moved[b]), moved[c]);
    const double area = nx * nx + ny * ny + nz * nz;
    const bool isDue = reading >= due[i];
    const bool isClear = height * height >= clear * clear * area && area > 0.0;
    const double apart = std::fabs(height) / std::sqrt(area);
    due[i] = isDue && isClear ? gone + apart - dueSlack : due[i];
    look[i] = isDue && !isClear;
  }
}

LOOMWISE_VECTOR_CLONES void screenEdgePairs(const PairScreen& screen, const std::array<int, 4>* __restrict nodes,
                                            double* __restrict due, std::uint8_t* __restrict look, std::size_t count) {
  const double* __restrict x = screen.x;
  const double* __restrict y = screen.y;
  const double* __restrict z = screen.z;
  const double* __restrict odometer = screen.odometer;
  const double* __restrict moved = screen.moved;
  const double thickness = screen.thickness, dueSlack = screen.dueSlack;
  for (std::size_t i = 0; i < count; ++i) {
    const std::int64_t e0 = nodes[i][0], e1 = nodes[i][1], f0 = nodes[i][2], f1 = nodes[i][3];
    const double gone = odometer[e0] + odometer[e1] + odometer[f0] + odometer[f1];
    const double reading = odometer[e0] + moved[e0] + (odometer[e1] + moved[e1]) + (odometer[f0] + moved[f0]) +
                           (odometer[f1] + moved[f1]);
    const double clear = thickness + std::max(moved[e0], moved[e1]) + std::max(moved[f0], moved[f1]);
    // How far apart the edges' boxes are along the axis they are farthest apart on.
    const double gapX = std::max(std::min(x[e0], x[e1]) - std::max(x[f0], x[f1]),
                                 std::min(x[f0], x[f1]) - std::max(x[e0], x[e1]));
    const double gapY = std::max(std::min(y[e0], y[e1]) - std::max(y[f0], y[f1]),
                                 std::min(y[f0], y[f1]) - std::max(y[e0], y[e1]));
    const double gapZ = std::max(std::min(z[e0], z[e1]) - std::max(z[f0], z[f1]),
                                 std::min(z[f0], z[f1]) - std::max(z[e0], z[e1]));
    const double gap = std::max(std::max(gapX, gapY), gapZ);
    // How far apart the lines through them are.
    const double ex = x[e1] - x[e0], ey = y[e1] - y[e0], ez = z[e1] - z[e0];
    const double fx = x[f1] - x[f0], fy = y[f1] - y[f0], fz = z[f1] - z[f0];
    const double nx = ey * fz - ez * fy, ny = ez * fx - ex * fz, nz = ex * fy - ey * fx;
    const double rx = x[e0] - x[f0], ry = y[e0] - y[f0], rz = z[e0] - z[f0];
    const double across = rx * nx + ry * ny + rz * nz;
    const double squared = nx * nx + ny * ny + nz * nz;
    const bool linesApart = across * across >= clear * clear * squared && squared > 0.0;
    const double lineDistance = squared > 0.0 ? std::fabs(across) / std::sqrt(squared) : 0.0;
    // Nearest at an end of either edge unless the lines' nearest points lie inside both: then a node
    // is nearest the other edge, which the node's pairs with the triangles along it answer.
    const double ee = ex * ex + ey * ey + ez * ez, ff = fx * fx + fy * fy + fz * fz, ef = ex * fx + ey * fy + ez * fz;
    const double er = ex * rx + ey * ry + ez * rz, fr = fx * rx + fy * ry + fz * rz;
    const double denominator = ee * ff - ef * ef;
    const double s = ef * fr - er * ff, t = ee * fr - ef * er;  // times the denominator
    const bool between = denominator > 1e-12 * ee * ff && s > 0.0 && s < denominator && t > 0.0 && t < denominator;
    const bool isDue = reading >= due[i];
    const bool isClear = gap >= clear || linesApart || !between;
    due[i] = isDue && isClear ? gone + std::max(gap, lineDistance) - dueSlack : due[i];
    look[i] = isDue && !isClear;
  }
}

LOOMWISE_VECTOR_CLONES void markPushedThrough(const double* __restrict odometer, double thickness,
                                              const std::array<int, 4>* __restrict nodes, const double* __restrict due,
                                              std::uint8_t* __restrict look, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::int64_t a = nodes[i][0], b = nodes[i][1], c = nodes[i][2], d = nodes[i][3];
    look[i] = odometer[a] + odometer[b] + odometer[c] + odometer[d] >= due[i] + thickness;
  }
}
