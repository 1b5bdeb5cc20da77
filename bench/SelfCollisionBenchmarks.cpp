// The step of a sheet with self-collision on the ground (StepSimulation is the same sheet's step
// without): laid flat, held up by its centre node above the ground, let go, and timed twice:
// StepSelfCollisionLanding two simulated seconds after it was let go, while it still folds down
// onto itself, and StepSelfCollisionHeap ten seconds after, when it lies in a heap several layers
// deep, at rest.
//
// The sheet is made with the pass being measured, so two versions of the pass time two different
// sheets (between them the same pass differs by a fifth or more). With LOOMWISE_HEAPS naming a
// folder, each is made once and kept there, and later runs, of this build or another, time that
// same sheet.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "sim/ColliderPass.h"
#include "sim/Simulation.h"

namespace {

constexpr int kHangingSteps = 4000;   // held by the centre: the sheet hangs down in folds
constexpr int kMeasuredSteps = 1000;  // half a simulated second is timed

// How long after it is let go the sheet is timed: the 100 × 100 sheet's centre takes two seconds
// to fall to the ground, and a heap lies still some seconds later.
struct Stage {
  const char* name;
  int stepsAfterRelease;
};
constexpr Stage kStages[] = {{"Landing", 4000}, {"Heap", 20000}};

int centreOf(const Cloth& cloth) { return (cloth.height / 2) * cloth.width + cloth.width / 2; }

// The scene of an n × n sheet's heap: the ground lies a little farther below the centre node than
// the corners hang, so the sheet held by it hangs free in folds, then falls into a heap when let go.
void setUpHeap(Simulation& simulation) {
  Cloth& cloth = simulation.cloth();
  clothsetups::setParameter(cloth, "windMinimum", 0.0);
  clothsetups::setParameter(cloth, "windPressure", 0.0);
  simulation.setPins(PinSet(PinSet::Preset::None));
  const Vec3 top = cloth.positions->at(centreOf(cloth));
  const double drop = 0.75 * cloth.width * cloth.spacing;
  simulation.addCollisionPass(std::make_unique<ColliderPass>(
      std::vector<Collider>{Plane{top - Vec3{0.0, drop, 0.0}, {0.0, 1.0, 0.0}}}, ColliderPass::kDefaultThickness,
      ColliderPass::kDefaultFriction));
}

void makeHeap(Simulation& simulation, const Stage& stage) {
  simulation.setSelfCollision(true);
  const int centre = centreOf(simulation.cloth());
  simulation.hold(centre, simulation.cloth().positions->at(centre));
  for (int s = 0; s < kHangingSteps; ++s) simulation.step();
  simulation.release(centre, Vec3{});
  for (int s = 0; s < stage.stepsAfterRelease; ++s) simulation.step();
}

// The positions, then the previous positions, every coordinate as it is in memory. A heap that
// cannot be kept is only made again next time.
void saveHeap(const Cloth& cloth, const char* folder, const std::string& file) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  std::vector<double> coordinates = clothsetups::coordinatesOf(*cloth.positions);
  const std::vector<double> previous = clothsetups::coordinatesOf(*cloth.previousPositions);
  coordinates.insert(coordinates.end(), previous.begin(), previous.end());
  const auto bytes = static_cast<std::streamsize>(coordinates.size() * sizeof(double));
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(coordinates.data()), bytes);
}

bool loadHeap(Cloth& cloth, const std::string& file) {
  const int n = cloth.nodeCount();
  std::vector<double> c(6 * static_cast<std::size_t>(n));
  std::ifstream in(file, std::ios::binary);
  const auto bytes = static_cast<std::streamsize>(c.size() * sizeof(double));
  // A file of another size is of another sheet: the heap is made again.
  if (!in.read(reinterpret_cast<char*>(c.data()), bytes) || in.peek() != std::ifstream::traits_type::eof())
    return false;
  for (int k = 0; k < n; ++k) {
    cloth.positions->set(k, {c[k], c[n + k], c[2 * n + k]});
    cloth.previousPositions->set(k, {c[3 * n + k], c[4 * n + k], c[5 * n + k]});
  }
  return true;
}

// The median of how far each node is from where it was, given every x, then every y, then every z.
double medianMove(const std::vector<double>& from, const std::vector<double>& to) {
  const std::size_t n = from.size() / 3;
  std::vector<double> moves(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double dx = to[k] - from[k], dy = to[n + k] - from[n + k], dz = to[2 * n + k] - from[2 * n + k];
    moves[k] = std::sqrt(dx * dx + dy * dy + dz * dz);
  }
  std::nth_element(moves.begin(), moves.begin() + n / 2, moves.end());
  return moves[n / 2];
}

// Made, or loaded from LOOMWISE_HEAPS when it is there; either way the pass then starts afresh on it.
void prepareHeap(Simulation& simulation, int size, const Stage& stage) {
  setUpHeap(simulation);
  if (const char* folder = std::getenv("LOOMWISE_HEAPS")) {
    const std::string file = std::string(folder) + "/" + stage.name + std::to_string(size) + ".bin";
    if (!loadHeap(simulation.cloth(), file)) {
      makeHeap(simulation, stage);
      saveHeap(simulation.cloth(), folder, file);
    }
  } else {
    makeHeap(simulation, stage);
  }
  simulation.setSelfCollision(true);
}

void stepHeap(benchmark::State& state, int size, Stage stage) {
  Simulation simulation(1, {0.25f, size, size, ClothShape::Lay::Flat});
  prepareHeap(simulation, size, stage);
  const long long broadPhasesBefore = simulation.selfCollision()->broadPhases();
  const std::vector<double> before = clothsetups::coordinatesOf(*simulation.cloth().positions);
  for (auto _ : state) simulation.step();
  // How far the median node went over the timed steps: a heap at rest hardly moves.
  state.counters["median_move"] = medianMove(before, clothsetups::coordinatesOf(*simulation.cloth().positions));
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
  for (const Stage& stage : kStages)
    for (const int size : {50, 100}) {
      const std::string name = std::string("StepSelfCollision") + stage.name + "/" + std::to_string(size) + "x" +
                               std::to_string(size);
      // A fixed count of steps: the sheet takes thousands of steps to make, so one per repetition.
      benchmark::RegisterBenchmark(name.c_str(), stepHeap, size, stage)
          ->Unit(benchmark::kMicrosecond)
          ->Iterations(kMeasuredSteps);
    }
}
