#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "record/RecorderOptions.h"

// Runs a document's recording flow without a window: lays the cloth out as a new document does,
// starts the scripts, takes the steps (a frame every `skip` of them) and closes the scripts.
class HeadlessRecorder {
public:
  // Told the number of steps taken so far, every kProgressSteps steps and after the last.
  using Progress = std::function<void(std::int64_t stepsDone)>;
  static constexpr std::int64_t kProgressSteps = 1000;

  struct Outcome {
    int exitCode = 0;     // 0 success, 1 the scripts could not be started or written
    std::string message;  // for the user when exitCode is not 0: what failed, then why
    std::string createPath;
    std::string animatePath;
  };

  static Outcome run(const RecorderOptions& options, const Progress& progress);
};
