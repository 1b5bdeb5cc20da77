// Writing one recorded frame, to set beside the steps between two frames: MEL's 5 × 5 patches on
// the default cloth, and every format on the largest cloth; and keeping one in the window's
// timeline, on the largest cloth.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"
#include "ClothSetups.h"
#include "record/FrameWriters.h"
#include "record/MelRecorder.h"
#include "record/RecordingSession.h"
#include "sim/FrameHistory.h"
#include "sim/Simulation.h"

namespace {

constexpr int kPatches = 5;
constexpr int kFramesPerFile = 1000;  // keeps the scratch file small on long runs

void writeFrame(benchmark::State& state) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator gusts(1);
  for (int s = 0; s < benchmarknames::kStepsPerFrame; ++s) cloth.step(RecordingSession::kDefaultTimeStep, gusts);

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

// One frame in one format. The files start afresh every kFramesPerCache frames (not timed), so
// the disk holds at most that many; a spooled format's final copy is not part of a frame.
constexpr int kFramesPerCache = 200;

void writeCacheFrame(benchmark::State& state, RecordingFormat format) {
  Cloth cloth;
  clothsetups::benchmarkShapes().back().layOut(cloth);
  RandomGenerator gusts(1);
  for (int s = 0; s < benchmarknames::kStepsPerFrame; ++s) cloth.step(RecordingSession::kDefaultTimeStep, gusts);

  const TempDir directory;
  RecordingTarget target = RecordingTarget::of(directory.file("frame"));
  MelRecorder recorder(cloth);
  auto writers = makeFrameWriters({format}, cloth, {}, recorder);
  const auto restart = [&] {
    for (auto& writer : writers) {
      writer->end();
      if (!writer->begin(target)) state.SkipWithError(writer->error().c_str());
    }
  };
  restart();
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    for (auto& writer : writers) {
      if (!writer->frame(frame)) state.SkipWithError(writer->error().c_str());
    }
    if (frame % kFramesPerCache != 0) continue;
    state.PauseTiming();
    restart();
    state.ResumeTiming();
  }
  for (auto& writer : writers) writer->end();
}

// Once the history is full, a frame is a copy into the oldest frame's buffer; a short history
// measures that without holding the full bound's memory.
void keepFrame(benchmark::State& state) {
  Simulation simulation(1, clothsetups::benchmarkShapes().back());
  FrameHistory history(simulation, 16);
  for (auto _ : state) history.frameDue(simulation);
}

}  // namespace

void registerFrameBenchmark() {
  const std::string keep = "KeepFrame/" + benchmarknames::size(clothsetups::benchmarkShapes().back());
  benchmark::RegisterBenchmark(keep.c_str(), keepFrame)->Unit(benchmark::kMicrosecond);
  const std::string name = std::string(benchmarknames::kWriteFrame) + "/" + std::to_string(kPatches) + "x" +
                           std::to_string(kPatches);
  benchmark::RegisterBenchmark(name.c_str(), writeFrame)->Unit(benchmark::kMicrosecond);
  for (RecordingFormat format : recordingformat::all()) {
    const std::string cache = std::string(benchmarknames::kWriteFrame) + "/" + recordingformat::name(format);
    benchmark::RegisterBenchmark(cache.c_str(), writeCacheFrame, format)->Unit(benchmark::kMicrosecond);
  }
}
