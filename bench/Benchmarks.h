#pragma once

// Each registers its benchmarks with Google Benchmark; main calls them in report order.
void registerStepBenchmarks();
void registerFrameBenchmark();
