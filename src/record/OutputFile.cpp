#include "record/OutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool OutputFile::fail() {
  if (error_.empty()) error_ = path_ + ": " + std::strerror(errno);
  return false;
}

bool OutputFile::open(const std::string& path, const char* mode) {
  path_ = path;
  error_.clear();
  file_ = std::fopen(path.c_str(), mode);
  opened_ = file_ != nullptr;
  return opened_ || fail();
}

bool OutputFile::openUnnamed(const std::string& directory, const std::string& label) {
  path_ = label;
  error_.clear();
  opened_ = false;
  std::string name = (directory.empty() ? std::string("./") : directory) + ".loomwise-spool-XXXXXX";
  const int descriptor = mkstemp(name.data());
  if (descriptor < 0) return fail();
  unlink(name.c_str());
  file_ = fdopen(descriptor, "w+b");
  if (file_ == nullptr) {
    fail();
    ::close(descriptor);
    return false;
  }
  return true;
}

bool OutputFile::write(const void* data, std::size_t bytes) {
  return file_ != nullptr && (bytes == 0 || std::fwrite(data, 1, bytes, file_) == bytes || fail());
}

bool OutputFile::writeAt(long offset, const void* data, std::size_t bytes) {
  if (file_ == nullptr) return false;
  if (std::fseek(file_, offset, SEEK_SET) != 0) return fail();
  const bool written = write(data, bytes);
  return (std::fseek(file_, 0, SEEK_END) == 0 || fail()) && written;
}

bool OutputFile::flush() { return file_ != nullptr && (std::fflush(file_) == 0 || fail()); }

bool OutputFile::truncate(long length) {
  if (file_ == nullptr) return false;
  std::fflush(file_);  // whatever of the buffer still goes out is cut off below
  return (ftruncate(fileno(file_), length) == 0 && std::fseek(file_, length, SEEK_SET) == 0) || fail();
}

bool OutputFile::reserve(long length) {
  if (file_ == nullptr) return false;
  const int error = posix_fallocate(fileno(file_), 0, length);
  if (error == 0) return true;
  errno = error;
  return fail();
}

bool OutputFile::close() {
  if (file_ == nullptr) return error_.empty();
  const bool flushed = std::fflush(file_) == 0 || fail();
  const bool closed = std::fclose(file_) == 0 || fail();
  file_ = nullptr;
  return flushed && closed && error_.empty();
}

bool OutputFile::closeAs(const std::string& path) {
  if (!close()) return false;
  if (std::rename(path_.c_str(), path.c_str()) != 0) {
    error_ = path + ": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  opened_ = false;  // the finished file is no longer ours to discard
  return true;
}

void OutputFile::discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (opened_) std::remove(path_.c_str());
  opened_ = false;
}
