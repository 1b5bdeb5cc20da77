#pragma once

#include <cstdint>
#include <cstdio>

// A one-line progress bar redrawn in place on a terminal.
class ProgressBar {
public:
  ProgressBar(std::FILE* out, std::int64_t total);
  void update(std::int64_t done);
  void finish();

private:
  std::FILE* out_;
  std::int64_t total_;
  int shownPercent_ = -1;
};
