#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, then a summary: how much faster the fast step is than the two yardsticks on
// the largest grid, and what one recorded frame costs against the steps between two frames.
// Times are CPU time per iteration, the median over repetitions.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
  explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

private:
  // Seconds per iteration of the named benchmark; 0 when it did not run.
  double seconds(const std::string& name) const;
  void printSpeedUps(const std::string& size, int nodes) const;
  void printFrameCost() const;
  void printColliderShare() const;

  std::map<std::string, std::vector<double>> seconds_;
  std::map<std::string, double> medians_;
};
