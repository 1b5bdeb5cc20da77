#include "SummaryReporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "BenchmarkNames.h"
#include "ClothSetups.h"
#include "cloth/FastStepKernel.h"

namespace {

double secondsPerUnit(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond: return 1e-9;
    case benchmark::kMicrosecond: return 1e-6;
    case benchmark::kMillisecond: return 1e-3;
    case benchmark::kSecond: return 1.0;
  }
  return 1.0;
}

std::string formatted(const char* format, double a, double b = 0.0, double c = 0.0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

// Keeps each repetition, or only the medians where the repetitions are not reported one by one.
void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    const double seconds = run.GetAdjustedCPUTime() * secondsPerUnit(run.time_unit);
    if (run.run_type == Run::RT_Iteration)
      seconds_[run.run_name.function_name].push_back(seconds);
    else if (run.aggregate_name == "median")
      medians_[run.run_name.function_name] = seconds;
  }
  ConsoleReporter::ReportRuns(runs);
}

double SummaryReporter::seconds(const std::string& name) const {
  const auto median = medians_.find(name);
  if (median != medians_.end()) return median->second;
  const auto found = seconds_.find(name);
  if (found == seconds_.end()) return 0.0;
  std::vector<double> times = found->second;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void SummaryReporter::Finalize() {
  GetOutputStream() << "\nSummary (CPU time, median of the repetitions):\n";
  const ClothShape largest = clothsetups::benchmarkShapes().back();
  printSpeedUps(benchmarknames::size(largest), largest.clothWidth * largest.clothHeight);
  printFrameCost();
  ConsoleReporter::Finalize();
}

void SummaryReporter::printSpeedUps(const std::string& size, int nodes) const {
  using namespace benchmarknames;
  const double fast = seconds(std::string(kStepFast) + "/" + size);
  const double scalar = seconds(std::string(kStepScalar) + "/" + size);
  const double reference = seconds(std::string(kStepReference) + "/" + size);
  if (fast <= 0.0 || scalar <= 0.0 || reference <= 0.0) return;
  GetOutputStream() << "  " << kStepFast << "/" << size << " (" << stepKernelName(fastestStepKernel()) << "): "
                    << formatted("%.2f ns per node-step\n", fast / nodes * 1e9) << "    "
                    << formatted("%.2fx as fast as ", scalar / fast) << kStepScalar << ", "
                    << formatted("%.1fx as fast as ", reference / fast) << kStepReference << "\n";
}

void SummaryReporter::printFrameCost() const {
  using namespace benchmarknames;
  const double frame = seconds(std::string(kWriteFrame) + "/5x5");
  if (frame <= 0.0) return;
  GetOutputStream() << formatted("  one recorded frame (5x5 patches): %.1f us\n", frame * 1e6);
  for (const ClothShape& shape : clothsetups::benchmarkShapes()) {
    const double steps = kStepsPerFrame * seconds(std::string(kStepFast) + "/" + size(shape));
    if (steps <= 0.0) continue;
    GetOutputStream() << "    against " << kStepsPerFrame << " fast steps of " << size(shape)
                      << formatted(": %.1f us, the frame adds %.0f%%\n", steps * 1e6, 100.0 * frame / steps);
  }
}
