#include "record/HeadlessRecorder.h"

#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"
#include "record/RecordingSession.h"

HeadlessRecorder::Outcome HeadlessRecorder::run(const RecorderOptions& options, const Progress& progress) {
  Cloth cloth;  // seeds the generator from the time, as a new document does
  options.shape.layOut(cloth);
  if (options.seed) RandomGenerator::seed(*options.seed);
  for (const auto& [name, value] : options.settings) cloth.parameters.find(name)->value = value;

  RecordingSession session(cloth);
  Outcome outcome;
  if (session.start(options.path, options.skip, options.patchesU, options.patchesV, options.formats) != 0) {
    outcome.exitCode = 1;
    outcome.message = "Unable to start recording.\n" + session.lastError();
    return outcome;
  }
  outcome.files = session.recordedFiles();

  for (int done = 1; done <= options.steps; ++done) {
    const RecordingSession::Tick tick = session.advanceFrame();
    if (tick.failed) {
      outcome.exitCode = 1;
      outcome.message = "Unable to write frame " + std::to_string(tick.frame) + " of the recording.\n" +
                        session.lastError();
      session.stop();
      return outcome;
    }
    if (progress) progress(done);
  }
  if (session.stop() != 0) {
    outcome.exitCode = 1;
    outcome.message = "Unable to finish the recording.\n" + session.lastError();
  }
  return outcome;
}
