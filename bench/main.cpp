// `make bench`: every benchmark, then the summary of speed-ups and frame cost.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "Benchmarks.h"
#include "SummaryReporter.h"

int main(int argc, char** argv) {
  registerStepBenchmarks();
  registerSolverBenchmarks();
  registerCollisionBenchmarks();
  registerSelfCollisionBenchmarks();
  registerFrameBenchmark();
#ifdef LOOMWISE_PAINT_BENCHMARKS
  registerPaintBenchmarks();
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Colours only on a terminal, as the library's own console report does by default.
  SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                 : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
