#include "SummaryReporter.h"

#include <algorithm>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "BenchmarkNames.h"
#include "ClothSetups.h"
#include "cloth/FastStepKernel.h"
#include "record/RecordingFormat.h"

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

// A number with a fixed count of decimals, for one line of the summary.
std::string withDecimals(double value, int decimals) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(decimals) << value;
  return text.str();
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
  printColliderShare();
  ConsoleReporter::Finalize();
}

void SummaryReporter::printSpeedUps(const std::string& size, int nodes) const {
  using namespace benchmarknames;
  const double fast = seconds(std::string(kStepFast) + "/" + size);
  const double scalar = seconds(std::string(kStepScalar) + "/" + size);
  const double reference = seconds(std::string(kStepReference) + "/" + size);
  if (fast <= 0.0 || scalar <= 0.0 || reference <= 0.0) return;
  GetOutputStream() << "  " << kStepFast << "/" << size << " (" << stepKernelName(fastestStepKernel()) << "): "
                    << withDecimals(fast / nodes * 1e9, 2) << " ns per node-step\n    " << withDecimals(scalar / fast, 2)
                    << "x as fast as " << kStepScalar << ", " << withDecimals(reference / fast, 1) << "x as fast as "
                    << kStepReference << "\n";
}

void SummaryReporter::printFrameCost() const {
  using namespace benchmarknames;
  const double frame = seconds(std::string(kWriteFrame) + "/5x5");
  if (frame <= 0.0) return;
  GetOutputStream() << "  one recorded frame (5x5 patches): " << withDecimals(frame * 1e6, 1) << " us\n";
  for (const ClothShape& shape : clothsetups::benchmarkShapes()) {
    const double steps = kStepsPerFrame * seconds(std::string(kStepFast) + "/" + size(shape));
    if (steps <= 0.0) continue;
    GetOutputStream() << "    against " << kStepsPerFrame << " fast steps of " << size(shape) << ": "
                      << withDecimals(steps * 1e6, 1) << " us, the frame adds " << withDecimals(100.0 * frame / steps, 0) << "%\n";
  }
  const std::string largest = size(clothsetups::benchmarkShapes().back());
  const double steps = kStepsPerFrame * seconds(std::string(kStepFast) + "/" + largest);
  if (steps <= 0.0) return;
  GetOutputStream() << "  one frame of " << largest << " in each format, against " << kStepsPerFrame
                    << " fast steps (" << withDecimals(steps * 1e6, 1) << " us):\n";
  for (RecordingFormat format : recordingformat::all()) {
    const double cache = seconds(std::string(kWriteFrame) + "/" + recordingformat::name(format));
    if (cache <= 0.0) continue;
    GetOutputStream() << "    " << recordingformat::name(format) << ": " << withDecimals(cache * 1e6, 1) << " us, adds "
                      << withDecimals(100.0 * cache / steps, 1) << "%\n";
  }
}

// The collider pass's part of a step with colliders: that step less the same sheet's step without.
void SummaryReporter::printColliderShare() const {
  using namespace benchmarknames;
  const std::string size = "/100x100";
  const double bare = seconds(kStepSimulation + size), withColliders = seconds(kStepColliders + size);
  if (bare <= 0.0 || withColliders <= bare) return;
  const double pass = withColliders - bare;
  GetOutputStream() << "  collider pass (plane, sphere, box) on 100x100: " << withDecimals(pass * 1e6, 1) << " us, "
                    << withDecimals(100.0 * pass / withColliders, 1) << "% of the step with it\n";
}
