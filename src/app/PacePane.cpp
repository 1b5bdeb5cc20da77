#include "app/PacePane.h"

#include "app/CLoomwiseDoc.h"
#include "view/FrameClock.h"

PacePane::PacePane(ActiveDocument activeDocument, QWidget* parent)
    : QLabel(parent), activeDocument(std::move(activeDocument)), clock(steadyNanoseconds) {
  setObjectName(QStringLiteral("pacePane"));
  setAlignment(Qt::AlignCenter);
  // Wide enough for long runs at any pace, so the panes beside it never shift.
  setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("t = 00000.00 s  00.00\u00d7")));
  connect(&timer, &QTimer::timeout, this, &PacePane::refreshSoon);
  connect(&FrameClock::instance(), &FrameClock::aboutToShowFrame, this, [this] {
    if (refreshDue) refresh();
  });
  timer.start(kRefreshMs);
}

void PacePane::setClock(NanosecondClock newClock) {
  clock = std::move(newClock);
  samples.clear();
}

void PacePane::refreshSoon() {
  if (FrameClock::instance().framePending())
    refreshDue = true;
  else
    refresh();
}

void PacePane::refresh() {
  refreshDue = false;
  const CLoomwiseDoc* document = activeDocument();
  if (document != sampled) samples.clear();
  sampled = document;
  if (document == nullptr) {
    clear();
    return;
  }
  const double simulated = document->sim.simulatedTime();
  const std::int64_t now = clock();
  samples.push_back({now, simulated});
  // Keep the newest sample older than the window, so the pace spans the whole window.
  while (samples.size() > 2 && now - samples[1].wall >= kWindowNanoseconds) samples.pop_front();
  QString text = QString::asprintf("t = %.2f s", simulated);
  const Sample& first = samples.front();
  if (now > first.wall) {
    const double pace = (simulated - first.simulated) / ((now - first.wall) * 1e-9);
    text += QString::asprintf("  %.2f", pace) + QChar(0x00D7);
  }
  setText(text);
}
