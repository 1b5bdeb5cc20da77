// The time step of every benchmark shape with the default parameters (the wind on): the fastest
// node loop this processor supports, the plain scalar loop, the Vector formulation and any
// narrower vector loop.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "ReferenceCloth.h"
#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"
#include "record/RecordingSession.h"
#include "sim/Simulation.h"

namespace {

constexpr double kDt = RecordingSession::kDefaultTimeStep;

void countNodeSteps(benchmark::State& state, const Cloth& cloth) {
  state.counters[benchmarknames::kPerNodeStep] = benchmark::Counter(
      static_cast<double>(state.iterations()) * cloth.nodeCount(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void stepCloth(benchmark::State& state, ClothShape shape, StepKernel kernel) {
  Cloth cloth;
  shape.layOut(cloth);
  cloth.stepKernel = kernel;
  RandomGenerator gusts(1);
  for (auto _ : state) cloth.step(kDt, gusts);
  countNodeSteps(state, cloth);
  state.SetLabel(stepKernelName(kernel));
  if (!clothsetups::allFinite(cloth)) state.SkipWithError("the sheet diverged");
}

void stepReference(benchmark::State& state, ClothShape shape) {
  Cloth cloth;
  shape.layOut(cloth);
  ReferenceCloth reference(cloth);
  RandomGenerator gusts(1);
  for (auto _ : state) reference.step(kDt, gusts);
  countNodeSteps(state, cloth);
}

// The whole step pipeline of a simulation: the kernel with its pins and divergence check, held
// nodes and the listeners, as the window and the recorder run it.
void stepSimulation(benchmark::State& state, ClothShape shape) {
  Simulation simulation(1, shape);
  for (auto _ : state) simulation.step();
  countNodeSteps(state, simulation.cloth());
  if (!clothsetups::allFinite(simulation.cloth())) state.SkipWithError("the sheet diverged");
}

}  // namespace

void registerStepBenchmarks() {
  for (const ClothShape& shape : clothsetups::benchmarkShapes()) {
    const std::string size = "/" + benchmarknames::size(shape);
    benchmark::RegisterBenchmark((benchmarknames::kStepFast + size).c_str(), stepCloth, shape, fastestStepKernel())
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((benchmarknames::kStepScalar + size).c_str(), stepCloth, shape, StepKernel::Scalar)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((benchmarknames::kStepReference + size).c_str(), stepReference, shape)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((benchmarknames::kStepSimulation + size).c_str(), stepSimulation, shape)
        ->Unit(benchmark::kMicrosecond);
  }
  // The narrower vector loops this processor also runs, for processors that lack the widest.
  for (StepKernel kernel : {StepKernel::Avx2}) {
    if (kernel == fastestStepKernel() || !stepKernelSupported(kernel)) continue;
    for (const ClothShape& shape : clothsetups::benchmarkShapes()) {
      const std::string name = std::string("Step") + stepKernelName(kernel) + "/" + benchmarknames::size(shape);
      benchmark::RegisterBenchmark(name.c_str(), stepCloth, shape, kernel)->Unit(benchmark::kMicrosecond);
    }
  }
}
