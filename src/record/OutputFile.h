#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A binary file being written, which remembers the first failure as "PATH: reason".
class OutputFile {
public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // closes without reporting; call close() to learn whether the data arrived

  // Opens `path` with an fopen mode ("wb", "w+b").
  bool open(const std::string& path, const char* mode);
  // Creates an unnamed file in `directory`: it vanishes with the process, however that ends.
  // Failures are reported under `label`.
  bool openUnnamed(const std::string& directory, const std::string& label);
  bool write(const void* data, std::size_t bytes);
  bool writeText(const std::string& text) { return write(text.data(), text.size()); }
  // Writes at `offset` from the start and goes back to the end.
  bool writeAt(long offset, const void* data, std::size_t bytes);
  bool flush();
  // Cuts the file back to `length` bytes, so that a partial frame never stays behind.
  bool truncate(long length);
  // Makes sure `length` bytes are allocated on disk, so that later writes up to it cannot run
  // out of space.
  bool reserve(long length);
  bool close();
  // Closes the file and gives it the name `path`, in one step for anyone reading `path`.
  bool closeAs(const std::string& path);
  // Closes and deletes the file, if this object opened it: what is left of a file that could not
  // be completed.
  void discard();

  bool isOpen() const { return file_ != nullptr; }
  std::FILE* stream() const { return file_; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

private:
  bool fail();

  std::FILE* file_ = nullptr;
  bool opened_ = false;
  std::string path_;
  std::string error_;
};
