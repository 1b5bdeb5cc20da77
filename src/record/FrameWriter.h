#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/RecordingTarget.h"

// One output format of a recording. The session begins every writer, hands each recorded frame to
// all of them (the cloth as it stands after that frame's step) and ends them all, on every path.
class FrameWriter {
public:
  virtual ~FrameWriter() = default;

  // Creates the format's files. False when they cannot be made; error() says which and why.
  virtual bool begin(const RecordingTarget& target) = 0;
  // Adds frame `number`. False when it could not be written completely.
  virtual bool frame(int number) = 0;
  // Completes and closes the files. False when they could not be completed; nothing incomplete
  // is then left under a finished file's name.
  virtual bool end() = 0;
  // The files this writer makes, for telling the user.
  virtual std::vector<std::string> files() const = 0;
  // The files a recording to `target` would make or replace, before it begins: the window asks
  // before replacing those that exist.
  virtual std::vector<std::string> filesFor(const RecordingTarget& target) const = 0;
  // "PATH: reason" of the last failure.
  virtual const std::string& error() const = 0;
  // What the session's start reports when begin failed: −1, nothing of the format was made.
  virtual int beginFailure() const { return -1; }
  // Whether the files keep the frames (an OBJ base mesh alone keeps none).
  virtual bool keepsFrames() const { return true; }
  // The bytes the recording has put down so far: by default the sizes of files() on disk now.
  virtual std::uintmax_t bytes() const;
};
