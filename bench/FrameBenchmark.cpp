// Writing one recorded frame of 5 × 5 patches, to set beside the steps between two frames.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"
#include "record/MelRecorder.h"
#include "record/RecordingSession.h"

namespace {

constexpr int kPatches = 5;
constexpr int kFramesPerFile = 1000;  // keeps the scratch file small on long runs

void writeFrame(benchmark::State& state) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator::seed(1);
  for (int s = 0; s < benchmarknames::kStepsPerFrame; ++s) cloth.step(RecordingSession::kDefaultTimeStep);

  const TempDir directory;
  const std::string path = directory.file("frame");
  MelRecorder recorder(cloth);
  int frames = 0;
  if (recorder.beginRecording(path, kPatches, kPatches) != 0) state.SkipWithError(recorder.lastError().c_str());
  for (auto _ : state) {
    if (recorder.writeFrame(0) != 0) {
      state.SkipWithError(recorder.lastError().c_str());
      break;
    }
    if (++frames % kFramesPerFile != 0) continue;
    state.PauseTiming();
    recorder.beginRecording(path, kPatches, kPatches);  // starts the animate script afresh
    state.ResumeTiming();
  }
  recorder.endRecording();
}

}  // namespace

void registerFrameBenchmark() {
  const std::string name = std::string(benchmarknames::kWriteFrame) + "/" + std::to_string(kPatches) + "x" +
                           std::to_string(kPatches);
  benchmark::RegisterBenchmark(name.c_str(), writeFrame)->Unit(benchmark::kMicrosecond);
}
