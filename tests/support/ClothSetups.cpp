#include "ClothSetups.h"

#include <cmath>

#include "cloth/Cloth.h"
#include "cloth/NodeBuffer.h"

namespace clothsetups {

std::vector<ClothShape> benchmarkShapes() { return {{0.25f, 17, 10}, {0.25f, 50, 50}, {0.25f, 100, 100}}; }

std::vector<ClothShape> irregularShapes() {
  return {{0.25f, 16, 4}, {0.25f, 17, 10}, {0.3f, 2, 7},  {0.37f, 3, 3}, {0.3f, 12, 6},
          {0.2f, 29, 5},  {0.3f, 6, 5},    {0.3f, 23, 11}, {0.3f, 9, 2}};
}

std::vector<ClothShape> wideShapes() { return {{0.25f, 61, 3}, {0.2f, 99, 4}}; }

void setParameter(Cloth& cloth, const char* name, double value) { cloth.parameters.find(name)->value = value; }

void setGustyWind(Cloth& cloth) {
  setParameter(cloth, "windPressure", 300.0);
  setParameter(cloth, "windMinimum", -60.0);
  setParameter(cloth, "windFrequency", 40.0);
  setParameter(cloth, "kBend", 600.0);
}

bool allFinite(const Cloth& cloth) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  }
  return true;
}

std::vector<double> coordinatesOf(const NodeBuffer& nodes) {
  std::vector<double> all(nodes.x, nodes.x + nodes.count());
  all.insert(all.end(), nodes.y, nodes.y + nodes.count());
  all.insert(all.end(), nodes.z, nodes.z + nodes.count());
  return all;
}

}  // namespace clothsetups

void PrintTo(const ClothShape& shape, std::ostream* out) {
  *out << shape.clothWidth << 'x' << shape.clothHeight << "_spacing" << shape.nodeSpacing;
}
