#pragma once

#include <string>

#include "record/ByteOrder.h"
#include "record/OutputFile.h"

// Frames of equal size kept on disk until a format that needs the final count up front is
// written, so memory stays bounded by the grid whatever the recording's length. The spool is an
// unnamed file in the recording's directory and leaves nothing behind. Beside the frames it holds
// disk space for the file's head, so that a full disk still leaves room to write the file with
// every frame the spool kept.
class FrameSpool {
public:
  // Failures name `label`: the file the frames are for.
  bool open(const std::string& directory, const std::string& label);
  // Appends one complete frame, or nothing when it cannot be written whole. `headBytes`: at
  // least the size of the file's head once it holds this frame too.
  bool append(const byteorder::Bytes& frame, long headBytes);
  // Writes `head` and the complete frames, in order, to `path` and closes the spool. The file
  // has a temporary name until it is complete and is removed when it cannot be.
  bool writeFile(const std::string& path, const byteorder::Bytes& head);

  int frames() const { return frames_; }
  long bytes() const { return frames_ * frameBytes_; }
  const std::string& error() const { return error_; }

private:
  bool moveTo(OutputFile& out, long offset);
  bool fail(const std::string& error);

  OutputFile file_;
  OutputFile reserve_;  // the space the head and one chunk of moved frames need
  long frameBytes_ = 0;
  int frames_ = 0;
  std::string error_;
};
