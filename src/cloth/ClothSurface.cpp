// The cloth read as a surface: normals, drawing and bilinear sampling.
#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"
#include "cloth/NodeNormal.h"
#include "cloth/QuadStripSink.h"

Vector Cloth::nodeNormal(const NodeBuffer& nodes, int c, int r) const {
  return nodeNormalAt(nodes, width, c, r).toVector();
}

void Cloth::draw(QuadStripSink& sink, const NodeBuffer* nodes) const {
  const NodeBuffer* drawn = nodes != nullptr ? nodes : positions.get();
  if (drawn == nullptr) return;
  const NodeBuffer& p = *drawn;
  for (int r = 0; r + 1 < height; ++r) {
    sink.beginStrip();
    for (int c = 0; c < width; ++c) {
      for (int row : {r, r + 1}) {
        const Vec3 n = nodeNormalAt(p, width, c, row);
        const Vec3 v = p.at(row * width + c);
        const double normal[3] = {n.x, n.y, n.z};
        const double vertex[3] = {v.x, v.y, v.z};
        sink.normal(normal);
        sink.vertex(vertex);
      }
    }
    sink.endStrip();
  }
}

namespace {

// Splits a parameter in [0, 1] over `nodes` nodes into a cell index and the fraction within it;
// the upper end falls into the last cell with fraction 1. Out-of-range and NaN inputs are clamped.
void locate(double t, int nodes, int& cell, double& fraction) {
  t = t >= 0.0 ? std::min(t, 1.0) : 0.0;
  const double a = (nodes - 1) * t;
  cell = static_cast<int>(std::floor(a));
  fraction = a - cell;
  if (cell == nodes - 1) {
    fraction = 1.0;
    cell = nodes - 2;
  }
}

}  // namespace

Vector Cloth::sample(double u, double v, const NodeBuffer* nodes) const {
  if (!hasGrid()) return Vector(3);
  const NodeBuffer& grid = nodes != nullptr ? *nodes : *positions;
  int i, j;
  double fu, fv;
  locate(u, width, i, fu);
  locate(v, height, j, fv);
  const Vec3 p00 = grid.at(j * width + i);
  const Vec3 p10 = grid.at(j * width + i + 1);
  const Vec3 p01 = grid.at((j + 1) * width + i);
  const Vec3 p11 = grid.at((j + 1) * width + i + 1);
  const Vec3 q = fu * (p10 - p00) + p00;
  const Vec3 w = fu * (p11 - p01) + p01;
  return (fv * (w - q) + q).toVector();
}
