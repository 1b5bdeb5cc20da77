// The step of a heap with self-collision (StepSimulation is the same sheet's step without): a sheet
// laid flat, held up by its centre node above the ground, let go and left to settle into folds
// several layers deep before the time runs, so that most nodes lie on or under another layer.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "sim/ColliderPass.h"
#include "sim/Simulation.h"

namespace {

constexpr int kHangingSteps = 4000;   // held by the centre: the sheet hangs down in folds
constexpr int kSettlingSteps = 4000;  // let go: it falls and settles into a heap
constexpr int kMeasuredSteps = 1000;  // then half a simulated second of it is timed

// The heap of an n × n sheet: the ground lies a little farther below the centre node than the
// corners hang, so the sheet hangs free in folds, then falls into a heap when let go.
void makeHeap(Simulation& simulation) {
  Cloth& cloth = simulation.cloth();
  clothsetups::setParameter(cloth, "windMinimum", 0.0);
  clothsetups::setParameter(cloth, "windPressure", 0.0);
  simulation.setPins(PinSet(PinSet::Preset::None));
  const int centre = (cloth.height / 2) * cloth.width + cloth.width / 2;
  const Vec3 top = cloth.positions->at(centre);
  const double drop = 0.75 * cloth.width * cloth.spacing;
  simulation.addCollisionPass(std::make_unique<ColliderPass>(
      std::vector<Collider>{Plane{top - Vec3{0.0, drop, 0.0}, {0.0, 1.0, 0.0}}}, ColliderPass::kDefaultThickness,
      ColliderPass::kDefaultFriction));
  simulation.setSelfCollision(true);
  simulation.hold(centre, top);
  for (int s = 0; s < kHangingSteps; ++s) simulation.step();
  simulation.release(centre, Vec3{});
  for (int s = 0; s < kSettlingSteps; ++s) simulation.step();
}

void stepHeap(benchmark::State& state, int size) {
  Simulation simulation(1, {0.25f, size, size, ClothShape::Lay::Flat});
  makeHeap(simulation);
  const long long broadPhasesBefore = simulation.selfCollision()->broadPhases();
  for (auto _ : state) simulation.step();
  const double steps = static_cast<double>(state.iterations());
  state.counters[benchmarknames::kPerNodeStep] = benchmark::Counter(
      steps * simulation.cloth().nodeCount(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters[benchmarknames::kSimulatedPerWall] =
      benchmark::Counter(steps * Simulation::kTimeStep, benchmark::Counter::kIsRate);
  state.counters["candidate_pairs"] = static_cast<double>(simulation.selfCollision()->candidatePairs());
  state.counters["broad_phases_per_step"] =
      static_cast<double>(simulation.selfCollision()->broadPhases() - broadPhasesBefore) / steps;
  if (!clothsetups::allFinite(simulation.cloth())) state.SkipWithError("the sheet diverged");
}

}  // namespace

void registerSelfCollisionBenchmarks() {
  for (const int size : {50, 100}) {
    const std::string shape = "/" + std::to_string(size) + "x" + std::to_string(size);
    // A fixed count of steps: the heap takes 8000 steps to make, so one heap per repetition.
    benchmark::RegisterBenchmark(("StepSelfCollisionHeap" + shape).c_str(), stepHeap, size)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kMeasuredSteps);
  }
}
