#include "record/HeadlessRecorder.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include <ctime>

#include "cloth/Cloth.h"
#include "cloth/StabilityEstimate.h"
#include "record/RecordingSession.h"
#include "record/StopSignals.h"
#include "sim/Simulation.h"
#include "sim/SimulationClock.h"

namespace {

void applySettings(const RecorderOptions& options, Cloth& cloth) {
  for (const auto& [name, value] : options.settings) cloth.parameters.find(name)->value = value;
}

// Frames are claimed only when a file that keeps them was completed.
std::string framesKept(const RecordingSession& session, int frames) {
  if (frames <= 0 || !session.framesKept()) return "the recording keeps no frames";
  return "the recording keeps frames 1 to " + std::to_string(frames);
}

// Every file that could not be completed, one line each.
std::string unfinishedFiles(const RecordingSession& session) {
  std::string text;
  for (const std::string& error : session.unfinished()) text += "\nNot written: " + error;
  return text;
}

int exitCodeFor(int signal) { return 128 + signal; }

}  // namespace

std::string HeadlessRecorder::stabilityWarning(const RecorderOptions& options) {
  if (options.solver != Solver::Explicit) return {};
  Cloth cloth;
  applySettings(options, cloth);
  const double spacing = options.shape.nodeSpacing;
  const StabilityEstimate estimate(cloth.parameters, spacing, RecordingSession::kDefaultTimeStep);
  if (estimate.stable()) return {};
  char text[400];
  std::snprintf(text, sizeof text,
                "warning: the cloth is likely to become unstable at spacing %g with these settings; use a spacing of "
                "at least %.3g, a higher density or a lower kStretch, kShear or kBend. The xpbd solver "
                "(--solver xpbd) is stable there.",
                spacing, estimate.minimumSpacing());
  return text;
}

HeadlessRecorder::Outcome HeadlessRecorder::run(const RecorderOptions& options, const Progress& progress) {
  // Without a seed the gusts come from the time, as a new document's do.
  SceneDescription scene = options.scene();
  scene.seed = options.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
  // Set up as the window's document sets up a scene it opens, so that both take the same steps.
  Simulation simulation(scene.seed, scene.shape);
  scene.applyTo(simulation);
  simulation.scheduleHolds(options.holds);

  RecordingSession session(simulation);
  Outcome outcome;
  if (session.start(options.path, options.skip, options.patchesU, options.patchesV, options.formats) != 0) {
    outcome.exitCode = 1;
    outcome.message = "Unable to start recording.\n" + session.lastError();
    return outcome;
  }
  outcome.files = session.recordedFiles();

  // How the run ended is told once the files are complete, so that it claims only frames they keep.
  SimulationClock clock(simulation);
  std::function<std::string()> ending;
  for (std::int64_t done = 0; done < options.steps && !ending;) {
    if (const int signal = StopSignals::received()) {
      outcome.exitCode = exitCodeFor(signal);
      ending = [&session, done] { return "Interrupted at step " + std::to_string(done) + "; " + framesKept(session, session.recordedFrames) + "."; };
      break;
    }
    const SimulationClock::Report report = clock.advance(std::min(kProgressSteps, options.steps - done));
    done += report.steps;
    if (report.diverged) {
      outcome.exitCode = 1;
      ending = [&session, step = report.divergedAtStep] {
        return "The cloth became unstable at step " + std::to_string(step) + "; " + framesKept(session, session.recordedFrames) +
               ". Use a wider spacing, a higher density or lower stiffness, or --solver xpbd, which stays stable.";
      };
    } else if (report.frameRefused) {
      outcome.exitCode = 1;
      ending = [&session, frame = session.failedFrame(), reason = session.lastError()] {
        return "Unable to write frame " + std::to_string(frame) + " of the recording; " + framesKept(session, frame - 1) +
               ".\n" + reason;
      };
    } else if (progress) {
      progress(done);
    }
  }
  const bool finished = session.stop() == 0;
  if (ending) outcome.message = ending() + unfinishedFiles(session);
  else if (!finished) outcome.message = "Unable to finish the recording." + unfinishedFiles(session);
  if (!finished && outcome.exitCode == 0) outcome.exitCode = 1;
  return outcome;
}
