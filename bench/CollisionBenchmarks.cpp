// The step of the 100 × 100 cloth with colliders, beside StepSimulation without: a plane, a sphere
// and a box together, and a 10 000-triangle mesh. The cloth has fallen onto them first, so that
// most nodes are in contact while the time runs.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "scene/ColliderSurface.h"
#include "scene/TriangleMesh.h"
#include "sim/ColliderPass.h"
#include "sim/Simulation.h"

namespace {

constexpr int kSettlingSteps = 3000;

// A sphere of the radius as a latitude-longitude mesh of 2 × (rings − 1) × segments triangles.
std::shared_ptr<const TriangleMesh> sphereMesh(double radius, int rings, int segments) {
  ColliderSurface surface = sphereSurface(Sphere{{}, radius}, rings, segments);
  return std::make_shared<TriangleMesh>(std::move(surface.positions), std::move(surface.triangles));
}

void stepWithColliders(benchmark::State& state, std::vector<Collider> colliders) {
  const ClothShape shape{0.25f, 100, 100, ClothShape::Lay::Flat};
  Simulation simulation(1, shape);
  simulation.setPins(PinSet(PinSet::Preset::None));
  simulation.colliders().setColliders(std::move(colliders));
  for (int s = 0; s < kSettlingSteps; ++s) simulation.step();
  for (auto _ : state) simulation.step();
  state.counters[benchmarknames::kPerNodeStep] = benchmark::Counter(
      static_cast<double>(state.iterations()) * simulation.cloth().nodeCount(),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  if (!clothsetups::allFinite(simulation.cloth())) state.SkipWithError("the sheet diverged");
}

}  // namespace

void registerCollisionBenchmarks() {
  const std::vector<Collider> shapes = {Plane{{0.0, -6.0, 0.0}, {0.0, 1.0, 0.0}}, Sphere{{-4.0, 0.0, 0.0}, 5.0},
                                        Box{{3.0, -6.0, -4.0}, {9.0, 2.0, 4.0}}};
  benchmark::RegisterBenchmark((std::string(benchmarknames::kStepColliders) + "/100x100").c_str(), stepWithColliders, shapes)
      ->Unit(benchmark::kMicrosecond);
  const std::vector<Collider> mesh = {MeshShape{sphereMesh(6.0, 70, 72), "sphere"}};
  benchmark::RegisterBenchmark("StepMeshCollider/100x100", stepWithColliders, mesh)->Unit(benchmark::kMicrosecond);
}
