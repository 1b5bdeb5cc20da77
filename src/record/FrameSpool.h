#pragma once

#include <string>

#include "record/ByteOrder.h"
#include "record/OutputFile.h"

// Frames of equal size kept on disk until a format that needs the final count up front is
// written, so memory stays bounded by the grid whatever the recording's length. The spool is an
// unnamed file in the recording's directory and leaves nothing behind.
class FrameSpool {
public:
  // Failures name `label`: the file the frames are for.
  bool open(const std::string& directory, const std::string& label);
  // Appends one complete frame, or nothing when it cannot be written whole.
  bool append(const byteorder::Bytes& frame);
  // Writes `head` and the complete frames, in order, to `path` and closes the spool. The file
  // has a temporary name until it is complete and is removed when it cannot be.
  bool writeFile(const std::string& path, const byteorder::Bytes& head);

  int frames() const { return frames_; }
  const std::string& error() const { return error_; }

private:
  bool copyTo(OutputFile& out);
  bool fail(const std::string& error);

  OutputFile file_;
  long frameBytes_ = 0;
  int frames_ = 0;
  std::string error_;
};
