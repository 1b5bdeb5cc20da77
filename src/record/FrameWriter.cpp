#include "record/FrameWriter.h"

#include <filesystem>

std::uintmax_t FrameWriter::bytes() const {
  std::uintmax_t total = 0;
  for (const std::string& file : files()) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error) total += size;
  }
  return total;
}
