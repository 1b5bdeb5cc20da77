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

// The simulated sheet: a grid of `width` columns by `height` rows of point masses, node (r, c) at
// index r × width + c in every node buffer. Row 0 is the top edge; its nodes in columns 0, 8,
// 16, … are fixed. The three dynamic buffers are rotated by pointer after every step.
class Cloth {
public:
  static constexpr int kFixedColumnStride = ::kFixedColumnStride;

  Cloth();
  Cloth(const Cloth&) = delete;
  Cloth& operator=(const Cloth&) = delete;

  // Lays out a new grid through `placement` (a 4 × 4 transform, or none). Returns 0, or −1 for a
  // negative spacing or a grid of fewer than two rows or columns or three nodes (no grid then).
  virtual int initialize(double spacing, int width, int height, const Matrix* placement);
  virtual ~Cloth();
  // Issues the sheet as height − 1 quad strips into the screen (see setScreen).
  virtual void draw() const;
  // Advances every free node by dt seconds.
  virtual void step(double dt);
  // The grid as a bilinear surface at (u, v), u along a row and v down the rows; u and v are
  // clamped to [0, 1]. Samples `nodes`, or the current positions when none is given.
  virtual Vector sample(double u, double v, const NodeBuffer* nodes = nullptr) const;
  virtual void freeNodes();

  // The unit normal at column c, row r of `nodes` (the zero vector, with its message, when
  // degenerate). Needs a grid of at least two rows and two columns.
  Vector nodeNormal(const NodeBuffer& nodes, int c, int r) const;
  void drawInto(QuadStripSink& sink) const;
  // Where every cloth's `draw` goes: the window installs its OpenGL sink, so that the core and the
  // headless recorder link no OpenGL. Without a screen `draw` issues nothing.
  static void setScreen(QuadStripSink* sink);

  bool hasGrid() const { return positions != nullptr; }
  // How far from its rest position a node may be before the sheet counts as diverged. Node 0 is
  // fixed, so every node hangs from a fixed node by a chain of at most width + height − 2 springs.
  // Even with every spring of it at twice its rest length a node stays within two chains of that
  // anchor, which is within one chain of the node's rest position: three chains in all. That is at
  // most six times the sheet's larger side, so nothing past ten sides is ever recorded.
  double reachLimit() const { return 3.0 * (width + height - 2) * spacing; }
  int nodeCount() const { return width * height; }
  static bool isFixed(int r, int c) { return isFixedNode(r, c); }

  ParameterList parameters;
  Matrix placement;
  double windPhase = 0.0;  // radians; grows by windFrequency × dt every step, never wrapped
  double windPressure = clothDefault("windPressure");
  double windFrequency = clothDefault("windFrequency");
  double windMinimum = clothDefault("windMinimum");
  Vec3 windDirection{0.0, 0.0, 1.0};
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
  // Set by the step that leaves a coordinate non-finite or a node beyond reachLimit(); stays set
  // until the grid is laid out again.
  bool diverged = false;

private:
  void readParameters();
  void advanceWind(double dt);
  void moveGustCentre();
  bool withinReach() const;
};
