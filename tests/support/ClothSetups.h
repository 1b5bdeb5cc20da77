#pragma once

#include <ostream>
#include <vector>

#include "cloth/ClothShape.h"

class Cloth;
class NodeBuffer;

// Cloth set-ups shared by the tests and the benchmarks; they need no test framework.
namespace clothsetups {

// The sizes the benchmarks measure, at the default spacing: the default sheet, a middle one and the
// largest the Cloth Initialization dialog allows.
std::vector<ClothShape> benchmarkShapes();

// Grids of every width modulo 8 (most no multiple of any vector width, so rows start at every
// offset within a register and end in partly filled ones), with one to four fixed nodes, and of
// one and two rows below the top. Spaced widely enough to stay finite under setGustyWind for
// thousands of steps.
std::vector<ClothShape> irregularShapes();

// Wide, short grids with many fixed nodes along the top row.
std::vector<ClothShape> wideShapes();

void setParameter(Cloth& cloth, const char* name, double value);

// Strong wind that switches on and off quickly and blows both ways, and stiff bending.
void setGustyWind(Cloth& cloth);

// Whether every node of the grid still has finite coordinates.
bool allFinite(const Cloth& cloth);

// Every x, then every y, then every z of `nodes`: positions to compare bit for bit.
std::vector<double> coordinatesOf(const NodeBuffer& nodes);

}  // namespace clothsetups

// Names a shape in test listings by its size and spacing, not by its bytes.
void PrintTo(const ClothShape& shape, std::ostream* out);
