#include "record/HeadlessRecorder.h"

#include <algorithm>

#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"
#include "record/RecordingSession.h"
#include "record/SimulationClock.h"

HeadlessRecorder::Outcome HeadlessRecorder::run(const RecorderOptions& options, const Progress& progress) {
  Cloth cloth;  // seeds the generator from the time, as a new document does
  options.shape.layOut(cloth);
  if (options.seed) RandomGenerator::seed(*options.seed);
  for (const auto& [name, value] : options.settings) cloth.parameters.find(name)->value = value;

  RecordingSession session(cloth);
  Outcome outcome;
  if (session.start(options.path, options.skip, options.patchesU, options.patchesV) != 0) {
    outcome.exitCode = 1;
    outcome.message = "Unable to start recording.\n" + session.recorder.lastError();
    return outcome;
  }
  outcome.createPath = session.recorder.createPath;
  outcome.animatePath = session.recorder.animationPath;

  SimulationClock clock(session);
  for (std::int64_t done = 0; done < options.steps;) {
    const SimulationClock::Report report = clock.advance(std::min(kProgressSteps, options.steps - done));
    done += report.steps;
    if (report.failed) {
      outcome.exitCode = 1;
      outcome.message = "Unable to write frame " + std::to_string(report.lastFrame) + " of the recording.\n" +
                        session.recorder.lastError();
      session.stop();
      return outcome;
    }
    if (progress) progress(done);
  }
  if (session.stop() != 0) {
    outcome.exitCode = 1;
    outcome.message = "Unable to finish the recording.\n" + session.recorder.lastError();
  }
  return outcome;
}
