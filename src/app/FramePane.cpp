#include "app/FramePane.h"

#include <QLocale>

#include "app/CLoomwiseDoc.h"
#include "view/FrameClock.h"

FramePane::FramePane(ActiveDocument activeDocument, QWidget* parent)
    : QLabel(parent), activeDocument(std::move(activeDocument)) {
  setObjectName(QStringLiteral("framePane"));
  // Wide enough for a long run's frame and time, so the panes beside it keep still as they grow.
  setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Frame 000000  t = 0000.000 s")));
  connect(&timer, &QTimer::timeout, this, &FramePane::refresh);
  connect(&FrameClock::instance(), &FrameClock::aboutToShowFrame, this, &FramePane::refresh);
  timer.start(kRefreshMs);
}

void FramePane::refresh() {
  const CLoomwiseDoc* document = activeDocument();
  if (document == nullptr || document->history.size() == 0) {
    clear();
    return;
  }
  QString text = QString::asprintf("Frame %lld  t = %.3f s", static_cast<long long>(document->shownFrameNumber()),
                                   document->shownTime());
  const RecordingSession& session = document->session;
  if (session.recording) {
    const int frames = session.framesWritten();
    text += (frames == 1 ? tr("    1 frame written, %1") : tr("    %1 frames written, %2").arg(frames))
                .arg(QLocale().formattedDataSize(static_cast<qint64>(session.bytesWritten()), 1, QLocale::DataSizeSIFormat));
  }
  setText(text);
}
