#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "record/RecorderOptions.h"

// Runs a document's recording flow without a window: lays the cloth out as a new document does,
// starts the files of every format asked for, takes the steps (a frame every `skip` of them) and
// completes the files.
class HeadlessRecorder {
public:
  // Told the number of steps taken so far, every kProgressSteps steps and after the last.
  using Progress = std::function<void(std::int64_t stepsDone)>;
  static constexpr std::int64_t kProgressSteps = 1000;

  struct Outcome {
    // 0 success; 1 the files could not be started or written, or the cloth became unstable;
    // 128 + the signal that stopped the run (130 Ctrl+C, 143 SIGTERM). The files end on a whole
    // frame whatever the outcome.
    int exitCode = 0;
    std::string message;  // for the user when exitCode is not 0: what failed, then why
    std::vector<std::string> files;
  };

  // Stops between chunks of kProgressSteps steps once StopSignals has received a signal.
  static Outcome run(const RecorderOptions& options, const Progress& progress);
  // One line for the user when the stability estimate says the settings will blow up, saying which
  // way to move them; empty when they are stable.
  static std::string stabilityWarning(const RecorderOptions& options);
};
