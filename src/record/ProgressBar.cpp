#include "record/ProgressBar.h"

#include <string>

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::FILE* out, int total) : out_(out), total_(total) {}

void ProgressBar::update(int done) {
  const int percent = total_ > 0 ? static_cast<int>(100LL * done / total_) : 100;
  if (percent == shownPercent_) return;  // redraw only when the figure changes
  shownPercent_ = percent;
  const int filled = percent * kWidth / 100;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, ' ');
  std::fprintf(out_, "\r[%s] %3d%% (%d of %d steps)", bar.c_str(), percent, done, total_);
  std::fflush(out_);
}

void ProgressBar::finish() {
  update(total_);
  std::fputc('\n', out_);
}
