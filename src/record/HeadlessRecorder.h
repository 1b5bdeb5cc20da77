#pragma once

#include <functional>
#include <string>
#include <vector>

#include "record/RecorderOptions.h"

// Runs a document's recording flow without a window: lays the cloth out as a new document does,
// starts the files of every format asked for, takes the steps (a frame every `skip` of them) and
// completes the files.
class HeadlessRecorder {
public:
  // Told the number of steps taken so far after every step.
  using Progress = std::function<void(int stepsDone)>;

  struct Outcome {
    int exitCode = 0;     // 0 success, 1 the files could not be started or written
    std::string message;  // for the user when exitCode is not 0: what failed, then why
    std::vector<std::string> files;
  };

  static Outcome run(const RecorderOptions& options, const Progress& progress);
};
