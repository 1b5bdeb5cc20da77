// loomwise-record: records a cloth simulation without a window, as MEL scripts or mesh caches.
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "LoomwiseVersion.h"
#include "record/HeadlessRecorder.h"
#include "record/ProgressBar.h"
#include "record/RecorderOptions.h"
#include "record/SceneFile.h"
#include "record/StopSignals.h"

namespace {
constexpr int kUsageError = 2;
}

int main(int argc, char** argv) {
  RecorderOptions options;
  const std::string error = options.parse(std::vector<std::string>(argv + 1, argv + argc));
  if (!error.empty()) {
    std::fprintf(stderr, "loomwise-record: %s\n", error.c_str());
    return kUsageError;
  }
  if (options.help) {
    std::fputs(RecorderOptions::usage(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("loomwise-record (Loomwise) " LOOMWISE_VERSION);
    return 0;
  }

  // A scene is saved with the seed it will run with.
  if (!options.saveScene.empty()) {
    if (!options.seed) options.seed = static_cast<std::uint32_t>(std::time(nullptr));
    const std::string failure = scenefile::save(options.scene(), options.saveScene);
    if (failure.empty()) return 0;
    std::fprintf(stderr, "loomwise-record: %s\n", failure.c_str());
    return 1;
  }

  // A run seeded from the clock can still be repeated: say how.
  if (!options.seed) {
    options.seed = static_cast<std::uint32_t>(std::time(nullptr));
    std::fprintf(stderr, "loomwise-record: gusts seeded with %u; repeat this run with --seed %u\n", *options.seed,
                 *options.seed);
  }

  const std::string warning = HeadlessRecorder::stabilityWarning(options);
  if (!warning.empty()) std::fprintf(stderr, "loomwise-record: %s\n", warning.c_str());
  StopSignals::install();

  // The bar only where someone watches; standard error stays clean for scripts otherwise.
  const bool onTerminal = isatty(STDERR_FILENO) == 1;
  ProgressBar bar(stderr, options.steps);
  HeadlessRecorder::Progress progress;
  if (onTerminal) progress = [&bar](std::int64_t done) { bar.update(done); };

  const HeadlessRecorder::Outcome outcome = HeadlessRecorder::run(options, progress);
  if (outcome.exitCode != 0) {
    if (onTerminal) std::fputc('\n', stderr);
    std::fprintf(stderr, "%s\n", outcome.message.c_str());
    return outcome.exitCode;
  }
  if (onTerminal) {
    bar.finish();
    std::string files;
    for (std::size_t i = 0; i < outcome.files.size(); ++i)
      files += (i == 0 ? "" : i + 1 == outcome.files.size() ? " and " : ", ") + outcome.files[i];
    std::fprintf(stderr, "Wrote %s\n", files.c_str());
  }
  return 0;
}
