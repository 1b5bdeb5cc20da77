#pragma once

#include <cstdio>

// A one-line progress bar redrawn in place on a terminal.
class ProgressBar {
public:
  ProgressBar(std::FILE* out, int total);
  void update(int done);
  void finish();

private:
  std::FILE* out_;
  int total_;
  int shownPercent_ = -1;
};
