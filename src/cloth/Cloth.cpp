#include "cloth/Cloth.h"

#include <cstdint>
#include <new>

#include "cloth/ClothParameters.h"

Cloth::Cloth() : placement(3, 3) {
  for (const ClothParameter& p : kClothParameters)
    parameters.insert(Parameter(p.name, p.minimum, p.maximum, p.value));
  windForce = windPressure * windDirection;
  placement.resize(4, 4);
}

Cloth::~Cloth() { freeNodes(); }

int Cloth::initialize(double newSpacing, int newWidth, int newHeight, const Matrix* newPlacement) {
  placement(3, 3) = 1.0;
  if (newPlacement != nullptr) {
    placement.assign(*newPlacement);
  } else {
    placement(0, 0) = 1.0;
    placement(1, 1) = -1.0;
    placement(2, 2) = -1.0;
  }
  freeNodes();
  diverged = false;
  // The normals need two rows and two columns; a NaN spacing is refused like a negative one.
  const std::int64_t nodes = static_cast<std::int64_t>(newWidth) * newHeight;
  if (!(newSpacing >= 0.0) || newWidth < 2 || newHeight < 2 || nodes < 3 || nodes > INT32_MAX / 8)
    return -1;

  width = newWidth;
  height = newHeight;
  spacing = newSpacing;
  try {
    restPositions = std::make_unique<NodeBuffer>(nodeCount());
    positions = std::make_unique<NodeBuffer>(nodeCount());
    previousPositions = std::make_unique<NodeBuffer>(nodeCount());
    nextPositions = std::make_unique<NodeBuffer>(nodeCount());
    rowScratch = std::make_unique<RowScratch>(width);
    fixedNodes = FixedNodes::standard(width, height);
  } catch (const std::bad_alloc&) {
    freeNodes();
    return -1;
  }

  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      const double grid[4] = {c * spacing, r * spacing, 0.0, 1.0};
      const Vec3 p = Vec3::of(placement.multiply(Vector(4, grid)));
      const int k = r * width + c;
      restPositions->set(k, p);
      positions->set(k, p);
      previousPositions->set(k, p);
      nextPositions->set(k, p);
    }
  }
  return 0;
}

void Cloth::placeNode(int k, const Vec3& p) {
  positions->set(k, p);
  previousPositions->set(k, p);
  nextPositions->set(k, p);
}

void Cloth::freeNodes() {
  restPositions.reset();
  positions.reset();
  previousPositions.reset();
  nextPositions.reset();
  rowScratch.reset();
}
