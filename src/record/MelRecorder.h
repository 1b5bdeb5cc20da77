#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

class Cloth;

// Writes a cloth's motion as two Maya MEL scripts beside a chosen path: create_NAME.mel makes a
// NURBS plane of the cloth's size, animate_NAME.mel sets and keys its control points frame by
// frame. A control point carries the cloth's displacement from its laid-out rest shape there.
class MelRecorder {
public:
  explicit MelRecorder(const Cloth& cloth);
  MelRecorder(const MelRecorder&) = delete;
  MelRecorder& operator=(const MelRecorder&) = delete;
  virtual ~MelRecorder();  // closes an animate script still open

  // Writes the create script and opens the animate script. 0: both ready; −1: nothing could be
  // started (bad name, patch count below 1, create script not written); 1: the create script is
  // written but the animate script could not be opened. lastError() says why.
  virtual int beginRecording(const std::string& path, int patchesU, int patchesV);
  // The create and animate scripts of the recording `name` in `directory` (which ends in '/' or is empty).
  static std::string createPathFor(const std::string& directory, const std::string& name) {
    return directory + "create_" + name + ".mel";
  }
  static std::string animationPathFor(const std::string& directory, const std::string& name) {
    return directory + "animate_" + name + ".mel";
  }
  // Appends one frame (a number below 1 continues from the last one) and flushes it.
  // −1 when no script is open or the frame could not be written completely; the script is then cut
  // back to its last complete frame and stays open, so closing it leaves a valid script.
  virtual int writeFrame(int frame);
  // Closes the animate script; −1 when closing reported an error (data may be lost).
  virtual int endRecording();
  // Writes the three attribute lines of every control point; −1 on a write error.
  virtual int writeControlPoints(std::FILE* file, const std::string& name, int patchesU, int patchesV);

  bool isRecording() const { return animationFile != nullptr; }
  // "PATH: reason" of the last failure, in the system's words.
  const std::string& lastError() const { return lastError_; }

  // The recording's name as a valid MEL node name: characters other than ASCII letters, digits and
  // '_' become '_', and a leading digit gets a '_' before it. Empty stays empty.

  // Surface parameter of control point k of a clamped uniform cubic B-spline with n spans.
  static double controlPointParameter(int k, int n);

  std::string recordingName;
  int patchesU = 0;
  int patchesV = 0;
  int lastFrame = 0;
  std::FILE* animationFile = nullptr;
  std::string createPath;     // the scripts of the last recording begun
  std::string animationPath;

private:
  bool writeCreateScript(const std::string& path);
  void fail(const std::string& path, int error);
  void discardPartialFrame();

  const Cloth& cloth_;
  std::string lastError_;
  off_t completeLength_ = 0;  // bytes of the animate script up to the end of its last complete frame
};
