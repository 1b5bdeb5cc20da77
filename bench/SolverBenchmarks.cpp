// The whole step pipeline with each solver, as simulated seconds per wall-clock second on one core:
// 1 is real time. The XPBD solver also on the 100 × 100 cloth at spacing 0.05, where the explicit
// one blows up.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "sim/Simulation.h"

namespace {

void stepWith(benchmark::State& state, ClothShape shape, Solver solver) {
  Simulation simulation(1, shape);
  simulation.setSolver(solver);
  for (auto _ : state) simulation.step();
  state.counters[benchmarknames::kSimulatedPerWall] =
      benchmark::Counter(static_cast<double>(state.iterations()) * Simulation::kTimeStep, benchmark::Counter::kIsRate);
  if (simulation.cloth().diverged) state.SkipWithError("the sheet diverged");
}

}  // namespace

void registerSolverBenchmarks() {
  std::vector<ClothShape> shapes = clothsetups::benchmarkShapes();
  for (Solver solver : {Solver::Explicit, Solver::Xpbd})
    for (const ClothShape& shape : shapes)
      benchmark::RegisterBenchmark(("Solver/" + std::string(solverName(solver)) + "/" + benchmarknames::size(shape)).c_str(),
                                   stepWith, shape, solver)
          ->Unit(benchmark::kMicrosecond);
  const ClothShape fine{0.05f, 100, 100};
  benchmark::RegisterBenchmark(("Solver/xpbd/" + benchmarknames::size(fine) + "/spacing0.05").c_str(), stepWith, fine,
                               Solver::Xpbd)
      ->Unit(benchmark::kMicrosecond);
}
