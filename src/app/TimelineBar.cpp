#include "app/TimelineBar.h"

#include <QSignalBlocker>
#include <QSlider>

#include "app/CLoomwiseDoc.h"
#include "view/FrameClock.h"

TimelineBar::TimelineBar(ActiveDocument activeDocument, QWidget* parent)
    : QToolBar(tr("Timeline"), parent), activeDocument(std::move(activeDocument)), slider_(new QSlider(Qt::Horizontal, this)) {
  setObjectName(QStringLiteral("timelineBar"));
  setMovable(false);
  setFloatable(false);
  slider_->setObjectName(QStringLiteral("timelineSlider"));
  slider_->setToolTip(tr("The frames kept since the last reset; drag back to show an earlier one"));
  addWidget(slider_);
  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    if (CLoomwiseDoc* document = this->activeDocument()) document->showFrame(static_cast<std::size_t>(value));
    emit frameChosen();
  });
  connect(&timer, &QTimer::timeout, this, &TimelineBar::refresh);
  connect(&FrameClock::instance(), &FrameClock::aboutToShowFrame, this, &TimelineBar::refresh);
  timer.start(kRefreshMs);
  refresh();
}

void TimelineBar::refresh() {
  const CLoomwiseDoc* document = activeDocument();
  const bool kept = document != nullptr && document->history.size() > 0;
  const QSignalBlocker quiet(slider_);
  slider_->setEnabled(kept && !document->runTimer.running());
  slider_->setRange(0, kept ? static_cast<int>(document->history.size()) - 1 : 0);
  slider_->setValue(kept ? static_cast<int>(document->shownIndex()) : 0);
}
