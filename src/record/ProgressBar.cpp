#include "record/ProgressBar.h"

#include <string>

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::FILE* out, std::int64_t total) : out_(out), total_(total) {}

void ProgressBar::update(std::int64_t done) {
  const int percent = total_ > 0 ? static_cast<int>(100 * done / total_) : 100;
  if (percent == shownPercent_) return;  // redraw only when the figure changes
  shownPercent_ = percent;
  const int filled = percent * kWidth / 100;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, ' ');
  std::fprintf(out_, "\r[%s] %3d%% (%lld of %lld steps)", bar.c_str(), percent, static_cast<long long>(done),
               static_cast<long long>(total_));
  std::fflush(out_);
}

void ProgressBar::finish() {
  update(total_);
  std::fputc('\n', out_);
}
