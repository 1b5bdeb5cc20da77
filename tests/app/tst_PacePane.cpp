// The status-bar pane of the active cloth under a clock the test sets.
#include <QSignalSpy>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/CLoomwiseDoc.h"
#include "app/PacePane.h"
#include "view/CLoomwiseView.h"
#include "view/FrameClock.h"

class PacePaneTest : public QObject {
  Q_OBJECT

private slots:
  void cleanup() { QTRY_COMPARE(leakedWindows(), QStringList()); }

  // Samples of (wall time, steps taken so far); the text after the last. 2000 steps are 1 s.
  void showsTheTimeAndThePace_data() {
    QTest::addColumn<QList<int>>("wallMs");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<QString>("text");
    const QString times = QString(QChar(0x00D7));
    QTest::newRow("one sample: no pace yet") << QList<int>{0} << QList<int>{24690} << "t = 12.35 s";
    QTest::newRow("real time") << QList<int>{0, 250, 500} << QList<int>{0, 500, 1000} << "t = 0.50 s  1.00" + times;
    QTest::newRow("one step a tick") << QList<int>{0, 1000} << QList<int>{0, 100} << "t = 0.05 s  0.05" + times;
    // Only the last two seconds count: the run that stopped at 1 s shows as stopped by 3.5 s.
    QTest::newRow("over the last two seconds")
        << QList<int>{0, 1000, 1500, 3500} << QList<int>{0, 2000, 2000, 2000} << "t = 1.00 s  0.00" + times;
  }
  void showsTheTimeAndThePace() {
    QFETCH(QList<int>, wallMs);
    QFETCH(QList<int>, steps);
    CLoomwiseDoc document;
    PacePane pane([&] { return &document; });
    std::int64_t now = 0;
    pane.setClock([&] { return now; });
    for (int i = 0; i < wallMs.size(); ++i) {
      now = std::int64_t{wallMs[i]} * 1000000;
      while (document.sim.stepCount() < steps[i]) document.sim.step();
      pane.refresh();
    }
    QTEST(pane.text(), "text");
  }

  // The timer's refresh waits for a coming frame, so the window is composed once for both; with
  // none coming it shows at once.
  void refreshesWithTheNextFrame_data() {
    QTest::addColumn<bool>("framePending");
    QTest::newRow("a frame coming") << true;
    QTest::newRow("no frame coming") << false;
  }
  void refreshesWithTheNextFrame() {
    QFETCH(bool, framePending);
    QTRY_VERIFY(!FrameClock::instance().framePending());
    CLoomwiseDoc document;
    while (document.sim.stepCount() < 2000) document.sim.step();
    PacePane pane([&] { return &document; });
    QWidget view;
    if (framePending) FrameClock::instance().request(view);
    QSignalSpy frames(&FrameClock::instance(), &FrameClock::aboutToShowFrame);
    pane.refreshSoon();
    QCOMPARE(pane.text().isEmpty(), framePending);
    QTRY_COMPARE(frames.size(), framePending ? 1 : 0);
    QCOMPARE(pane.text(), QStringLiteral("t = 1.00 s"));
  }

  // Another cloth becomes active: its own pace, not one measured across the two.
  void startsAfreshForAnotherDocument() {
    CLoomwiseDoc first, second;
    const CLoomwiseDoc* active = &first;
    PacePane pane([&] { return active; });
    std::int64_t now = 0;
    pane.setClock([&] { return now; });
    pane.refresh();
    now = 1000000000;
    while (second.sim.stepCount() < 4000) second.sim.step();
    active = &second;
    pane.refresh();
    QCOMPARE(pane.text(), QStringLiteral("t = 2.00 s"));
    active = nullptr;
    pane.refresh();
    QCOMPARE(pane.text(), QString());
  }
};

LOOMWISE_GUI_TEST_MAIN(PacePaneTest, CLoomwiseView::requestPixelFormat)
#include "tst_PacePane.moc"
