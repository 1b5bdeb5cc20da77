#pragma once

// Each registers its benchmarks with Google Benchmark; main calls them in report order.
void registerStepBenchmarks();
void registerSolverBenchmarks();
void registerFrameBenchmark();
void registerCollisionBenchmarks();
void registerSelfCollisionBenchmarks();
// Only in a build with the window (LOOMWISE_GUI): it needs a display.
void registerPaintBenchmarks();
