#pragma once

#include <memory>

#include "cloth/ClothParameters.h"
#include "cloth/FastStepKernel.h"
#include "cloth/FixedNodes.h"
#include "cloth/NodeBuffer.h"
#include "cloth/ParameterList.h"
#include "cloth/Vec3.h"
#include "linalg/Matrix.h"
#include "linalg/Vector.h"

class QuadStripSink;
class RandomGenerator;

// The simulated sheet: a grid of `width` columns by `height` rows of point masses, node (r, c) at
// index r × width + c in every node buffer. Row 0 is the top edge. The nodes of `fixedNodes` stay
// where they are; a new grid fixes those of row 0 in columns 0, 8, 16, …. The three dynamic
// buffers are rotated by pointer after every step.
class Cloth {
public:
  Cloth();
  Cloth(const Cloth&) = delete;
  Cloth& operator=(const Cloth&) = delete;

  // Lays out a new grid through `placement` (a 4 × 4 transform, or none). Returns 0, or −1 for a
  // negative spacing or a grid of fewer than two rows or columns or three nodes (no grid then).
  virtual int initialize(double spacing, int width, int height, const Matrix* placement);
  virtual ~Cloth();
  // Issues the sheet as height − 1 quad strips into `sink`: `nodes` (positions of this grid kept
  // earlier), or the current positions when none is given.
  virtual void draw(QuadStripSink& sink, const NodeBuffer* nodes = nullptr) const;
  // Advances every free node by dt seconds; the gusts draw from `gusts`. With `checkSheet`, sets
  // `diverged` when a spring of the new positions is longer than stretchLimit() or a coordinate is
  // not finite.
  virtual void step(double dt, RandomGenerator& gusts, bool checkSheet = true);
  // The stages around a solver's node loop, so that every solver reads the same parameters, wind
  // and gusts: reads the parameters, advances the wind and moves the gust centre (one or three draws).
  void prepareStep(double dt, RandomGenerator& gusts);
  // previous ← positions ← next ← previous: the old previous buffer becomes the next scratch.
  void rotateBuffers();
  // The grid as a bilinear surface at (u, v), u along a row and v down the rows; u and v are
  // clamped to [0, 1]. Samples `nodes`, or the current positions when none is given.
  virtual Vector sample(double u, double v, const NodeBuffer* nodes = nullptr) const;
  virtual void freeNodes();

  // The unit normal at column c, row r of `nodes` (the zero vector, with its message, when
  // degenerate). Needs a grid of at least two rows and two columns.
  Vector nodeNormal(const NodeBuffer& nodes, int c, int r) const;

  bool hasGrid() const { return positions != nullptr; }
  // The longest a spring may be before the sheet counts as diverged: twice the longest chain of
  // springs across the sheet (width + height − 2 of them at rest), far beyond anything the springs
  // allow, whether or not a node is fixed, so a falling sheet is never taken for a broken one.
  double stretchLimit() const { return 2.0 * (width + height - 2) * spacing; }
  int nodeCount() const { return width * height; }
  // Every node's mass, from the parameters the last step read.
  double nodeMass() const { return spacing * spacing * density; }
  // Puts node k at p in every dynamic buffer: at rest there, as a fixed node is.
  void placeNode(int k, const Vec3& p);

  ParameterList parameters;
  Matrix placement;
  double windPhase = 0.0;  // radians; grows by windFrequency × dt every step, never wrapped
  double windPressure = clothDefault("windPressure");
  double windFrequency = clothDefault("windFrequency");
  double windMinimum = clothDefault("windMinimum");
  double windAngle = clothDefault("windDirection");  // degrees about the vertical axis
  Vec3 windDirection{0.0, 0.0, 1.0};                  // unit vector of windAngle
  Vec3 windForce;
  Vec3 gustCentre;
  Vec3 gravityVector{0.0, clothDefault("gravity"), 0.0};
  std::unique_ptr<NodeBuffer> positions;
  std::unique_ptr<NodeBuffer> previousPositions;
  std::unique_ptr<NodeBuffer> nextPositions;
  std::unique_ptr<NodeBuffer> restPositions;
  std::unique_ptr<RowScratch> rowScratch;  // the vector kernels' working rows, made with the grid
  StepKernel stepKernel = fastestStepKernel();  // the node loop `step` runs; all agree bit for bit
  double density = clothDefault("density");
  double spacing = 0.0;
  double kStretch = clothDefault("kStretch");
  double kShear = clothDefault("kShear");
  double kBend = clothDefault("kBend");
  double cDamping = clothDefault("cDamping");
  int width = 0;
  int height = 0;
  FixedNodes fixedNodes;  // the nodes the step leaves where they are
  // Set by the step that leaves a coordinate non-finite or a spring beyond stretchLimit(); stays
  // set until the grid is laid out again.
  bool diverged = false;

private:
  void readParameters();
  void advanceWind(double dt);
  void moveGustCentre(RandomGenerator& gusts);
};
