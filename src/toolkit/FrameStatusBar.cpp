#include "toolkit/FrameStatusBar.h"

#include <QLabel>

#include "toolkit/CommandIds.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/KeyLocks.h"

FrameStatusBar::FrameStatusBar(QWidget& frame, const QString& idleText)
    : QStatusBar(&frame), pane(new QLabel(idleText, this)) {
  // A normal widget: a command prompt covers it while shown and it reappears when the prompt goes.
  pane->setObjectName(QStringLiteral("messagePane"));
  addWidget(pane, 1);
  connect(&poll, &QTimer::timeout, this, &FrameStatusBar::updateIndicators);
  poll.start(kIndicatorPollMs);
}

void FrameStatusBar::addIndicator(int id, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(controlName(id));
  label->setAlignment(Qt::AlignCenter);
  // Wide enough for the text in any state, so the panes never shift.
  label->setMinimumWidth(label->sizeHint().width() + label->fontMetrics().averageCharWidth() * 2);
  addPermanentWidget(label);
  indicators[id] = label;
  updateIndicators();
}

void FrameStatusBar::updateIndicators() {
  if (indicators.empty()) return;
  const KeyLocks locks = readKeyLocks();
  const std::map<int, bool> on = {
      {ID_INDICATOR_CAPS, locks.caps}, {ID_INDICATOR_NUM, locks.num}, {ID_INDICATOR_SCRL, locks.scroll}};
  for (auto& [id, label] : indicators) {
    const auto state = on.find(id);
    label->setEnabled(state != on.end() && state->second);
  }
}
