// The view on a real OpenGL context under Mesa: what it draws, and how its timer steps the
// document.
#include <QSignalSpy>

#include "GuiTestSupport.h"
#include "ClothSetups.h"
#include "ViewTestSupport.h"
#include "cloth/Cloth.h"
#include "toolkit/CommandUi.h"
#include "view/CLoomwiseView.h"
#include "view/FrameClock.h"
#include "view/SimulationTimer.h"
#include "view/ClothDocument.h"


class CLoomwiseViewTest : public QObject {
  Q_OBJECT

  TestViews views;

  CLoomwiseView* newView(ClothDocument* document) { return views.open(document); }

  QImage picture(CLoomwiseView* view) { return view->grabFramebuffer(); }

private slots:
  void cleanup() {
    stopWaitingForModals();
    views.all.clear();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // A fresh view: x right in red with its tip at 2.4, y up in green with its tip at 2.5, each
  // shaft 2 units; z points at the viewer and shows only as its blue arrowhead, tip-on.
  void drawsTheAxesOfAFreshView() {
    CLoomwiseView* view = newView(nullptr);
    QVERIFY(view != nullptr);
    const QImage image = picture(view);
    QCOMPARE(image.size(), QSize(kWidth, kHeight));
    const auto at = [&](int right, int up) { return image.pixel(kCentreX + right, kCentreY - up); };
    QVERIFY(isRed(at(50, 0)));              // the x shaft
    QVERIFY(isRed(at(110, 0)));             // its cone, between 2 and 2.4
    QVERIFY(isRed(at(110, 2)));             // the cone is wider than the line
    QVERIFY(isBlack(at(123, 0)));           // past the tip at 2.4 (120 px)
    QVERIFY(isBlack(at(-50, 0)));           // nothing on the negative side
    QVERIFY(isGreen(at(0, 50)));
    QVERIFY(isGreen(at(0, 112)));           // between 2 and 2.5
    QVERIFY(isBlack(at(0, 128)));           // past the tip at 2.5 (125 px)
    QVERIFY(isBlack(at(0, -50)));
    // The z cone's base is 0.12 units (6 px) round the centre and hides the shafts there.
    QVERIFY(isBlue(at(0, 0)));
    QVERIFY(isBlue(at(4, 0)));
    QVERIFY(isBlue(at(0, 4)));
    QVERIFY(isBlue(at(-3, -3)));
    QVERIFY(isRed(at(8, 0)));
    QVERIFY(isBlack(at(-8, 0)));
  }

  // The laid-out sheet's normals are (0, 0, -1), away from the viewer and the light; with both
  // sides lit its front shows the light, not the ambient 0.2 of its 0.75 grey alone (38).
  void drawsTheClothGreyAndLit() {
    CLoomwiseView* view = newView(new CountingDocument);
    QVERIFY(view != nullptr);
    const QImage image = picture(view);
    // The sheet spans x -2.125 to 1.875 and y -1 to 1.25; (-1, -0.5) lies on it, off the axes.
    const QRgb cloth = image.pixel(kCentreX - 50, kCentreY + 25);
    QVERIFY(isGrey(cloth));
    QVERIFY2(qRed(cloth) > 0.2 * 0.75 * 255 + 40, qPrintable(QString::number(qRed(cloth))));
    QVERIFY(isBlack(image.pixel(kCentreX - 150, kCentreY + 25)));  // left of the sheet
    QVERIFY(isBlack(image.pixel(kCentreX - 50, kCentreY + 60)));   // below it
    // The x shaft lies in the sheet's plane, drawn later at equal depth, so the sheet hides it up
    // to its edge at 1.875; past the edge and on the arrowhead, which stands out of the plane, it
    // shows.
    QVERIFY(isGrey(image.pixel(kCentreX + 50, kCentreY)));
    QVERIFY(isRed(image.pixel(kCentreX + 97, kCentreY)));
    QVERIFY(isRed(image.pixel(kCentreX + 110, kCentreY)));
  }

  // Pinned nodes show as red dots over the sheet, held ones as yellow: node 0 of the default
  // cloth is pinned at (-2.125, 1.25), node 2 is neither.
  void drawsPinnedAndHeldNodesOverTheSheet() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = newView(document);
    QVERIFY(view != nullptr);
    document->sim.hold(16, document->cloth.positions->at(16));
    const QImage image = picture(view);
    const auto at = [&](double x, double y) { return image.pixel(qRound(kCentreX + 50 * x), qRound(kCentreY - 50 * y)); };
    const QRgb pinned = at(-2.125, 1.25), held = at(1.875, 1.25), free = at(-1.625, 1.25);
    QVERIFY(qRed(pinned) > 150 && qGreen(pinned) < 80);
    QVERIFY(qRed(held) > 150 && qGreen(held) > 150 && qBlue(held) < 80);
    QVERIFY(isGrey(free));
  }

  // The light is given in eye space and lights both sides: half a turn about the vertical axis
  // shows the sheet's other side as brightly as the first.
  void bothSidesOfTheSheetTakeTheLight() {
    CLoomwiseView* view = newView(new CountingDocument);
    QVERIFY(view != nullptr);
    const QRgb front = picture(view).pixel(kCentreX - 10, kCentreY + 25);
    const double halfTurn[16] = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    std::copy(halfTurn, halfTurn + 16, view->cameraMatrix);
    const QRgb back = picture(view).pixel(kCentreX + 10, kCentreY + 25);
    QVERIFY(isGrey(front));
    QVERIFY(isGrey(back));
    QVERIFY2(qRed(front) > 78 && qAbs(qRed(back) - qRed(front)) <= 4,
             qPrintable(QStringLiteral("%1 %2").arg(qRed(front)).arg(qRed(back))));
  }

  void resizingKeepsTheScale() {
    CLoomwiseView* view = newView(nullptr);
    QVERIFY(view != nullptr);
    view->resize(601, 401);
    QTRY_COMPARE(picture(view).size(), QSize(601, 401));
    const QImage image = picture(view);
    // Still 50 px per unit from the new centre (300, 200).
    QVERIFY(isRed(image.pixel(300 + 110, 200)));
    QVERIFY(isBlack(image.pixel(300 + 122, 200)));
    QVERIFY(isGreen(image.pixel(300, 200 - 112)));
  }

  void runTwiceReturnsToStoppedAndTheCheckFollows() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = newView(document);
    QVERIFY(view != nullptr);
    CommandUi stopped(0);
    view->OnUpdateRun(stopped);
    QVERIFY(stopped.checkSet && !stopped.checked);
    view->OnRun();
    QVERIFY(view->timerId() != 0);
    CommandUi running(0);
    view->OnUpdateRun(running);
    QVERIFY(running.checked && running.enabled);
    QTRY_VERIFY(document->steps >= 3);
    view->OnRun();
    QCOMPARE(view->timerId(), 0u);
    CommandUi again(0);
    view->OnUpdateRun(again);
    QVERIFY(!again.checked);
  }

  void startAndStopTimerAreIdempotent() {
    CLoomwiseView* view = newView(new CountingDocument);
    QVERIFY(view != nullptr);
    view->stopTimer();
    QCOMPARE(view->timerId(), 0u);
    view->startTimer();
    const unsigned id = view->timerId();
    QVERIFY(id != 0);
    view->startTimer();
    QCOMPARE(view->timerId(), id);
    view->stopTimer();
    view->stopTimer();
    QCOMPARE(view->timerId(), 0u);
  }

  // Each view steps only its own document; a stopped one does not move while the other runs.
  void eachViewStepsItsOwnDocument() {
    auto* first = new CountingDocument;
    auto* second = new CountingDocument;
    CLoomwiseView* a = newView(first);
    CLoomwiseView* b = newView(second);
    QVERIFY(a != nullptr && b != nullptr);
    a->OnRun();
    b->OnRun();
    QTRY_VERIFY(first->steps >= 5 && second->steps >= 5);
    a->OnRun();
    const int frozen = first->steps;
    const Vector cornerBefore = first->cloth.sample(1, 1);
    QTRY_VERIFY(second->steps >= frozen + 20);
    QCOMPARE(first->steps, frozen);
    QCOMPARE(first->cloth.sample(1, 1)[1], cornerBefore[1]);
  }

  // One timer per document: two views of a running cloth show it running, step it once a tick,
  // and closing the view that started it leaves it running in the other.
  void closingTheViewThatStartedRunNeverStopsTheCloth() {
    auto* document = new CountingDocument;
    CLoomwiseView* starting = newView(document);
    CLoomwiseView* other = newView(document);
    QVERIFY(starting != nullptr && other != nullptr);
    starting->OnRun();
    QCOMPARE(other->timerId(), starting->timerId());
    document->runTimer.tick();
    QCOMPARE(document->steps, 1);
    views.all.erase(views.all.begin());
    const int before = document->steps;
    QTRY_VERIFY(document->steps >= before + 5);
    QVERIFY(other->timerId() != 0);
    other->OnRun();
  }

  // A view that goes leaves its document; the document's owner, not its last view, destroys it.
  void aViewLeavesItsDocumentWhenItGoes() {
    auto* document = new CountingDocument;
    QVERIFY(newView(document) != nullptr);
    QVERIFY(newView(document) != nullptr);
    views.all.pop_back();
    QCOMPARE(document->views().size(), std::size_t{1});
    views.all.pop_back();
    QVERIFY(document->views().empty());
  }

  // A tick nested in what a tick's steps call for (a message box's loop) steps nothing of the same
  // document; another document's may.
  void aNestedTickDoesNoSimulationWork() {
    auto* outer = new CountingDocument;
    auto* other = new CountingDocument;
    QVERIFY(newView(outer) != nullptr && newView(other) != nullptr);
    outer->afterSteps = [&] {
      outer->runTimer.tick();
      other->runTimer.tick();
    };
    outer->runTimer.tick();
    QCOMPARE(outer->steps, 1);
    QCOMPARE(other->steps, 1);
    outer->afterSteps = nullptr;
    outer->runTimer.tick();  // the flag is clear again afterwards
    QCOMPARE(outer->steps, 2);
  }

  // Ticks driven by hand against a clock the test sets: the steps each tick takes.
  void realTimeStepsFollowTheWallClock_data() {
    QTest::addColumn<bool>("realTime");
    QTest::addColumn<QList<int>>("tickMs");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("off: one step a tick, however late") << false << QList<int>{10, 500} << QList<int>{1, 1};
    QTest::newRow("on: 20 steps per 10 ms") << true << QList<int>{10, 10, 30} << QList<int>{20, 20, 60};
    QTest::newRow("on: a late tick catches up 400 steps at most")
        << true << QList<int>{3000, 10} << QList<int>{int(SimulationTimer::kMaxStepsPerTick), 20};
  }
  void realTimeStepsFollowTheWallClock() {
    QFETCH(bool, realTime);
    QFETCH(QList<int>, tickMs);
    QFETCH(QList<int>, steps);
    auto* document = new CountingDocument;
    CLoomwiseView* view = newView(document);
    QVERIFY(view != nullptr);
    std::int64_t now = 0;
    document->runTimer.setClock([&now] { return now; });
    document->runTimer.followRealTime(&realTime);
    view->OnRun();
    for (int i = 0; i < tickMs.size(); ++i) {
      const int before = document->steps;
      now += std::int64_t{tickMs[i]} * 1000000;
      document->runTimer.tick();
      QCOMPARE(document->steps - before, steps[i]);
    }
    // Stopped time is not owed: after a pause the pace starts afresh.
    view->OnRun();
    now += 2000000000;
    view->OnRun();
    now += 5000000;
    const int before = document->steps;
    document->runTimer.tick();
    QCOMPARE(document->steps - before, realTime ? 10 : 1);
    view->OnRun();
  }

  // Each step costs 1 ms on the test's clock: a tick owed 200 steps stops within a chunk of its
  // time being up, and the steps it had no time for come with the next tick.
  void aRealTimeTickStopsWhenItsTimeIsUp() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = newView(document);
    QVERIFY(view != nullptr);
    std::int64_t now = 0, stepCost = 1000000;
    document->duringStep = [&] { now += stepCost; };
    document->runTimer.setClock([&now] { return now; });
    const bool realTime = true;
    document->runTimer.followRealTime(&realTime);
    view->OnRun();
    // No frame to paint meanwhile, which would keep the steps going past the time.
    QTRY_VERIFY(!FrameClock::instance().framePending());
    now += 100000000;
    const std::int64_t start = now;
    document->runTimer.tick();
    const int first = document->steps;
    QVERIFY2(first > 0 && first < 200, qPrintable(QString::number(first)));
    QVERIFY(now - start >= SimulationTimer::kMaxTickNanoseconds);
    QVERIFY(now - start < SimulationTimer::kMaxTickNanoseconds + SimulationTimer::kStepsPerChunk * stepCost);
    // Free steps from now on: the next tick owes the rest of the 200 and 2 per ms the first used.
    stepCost = 0;
    document->runTimer.tick();
    QCOMPARE(document->steps, 200 + 2 * first);
    view->OnRun();
  }

  // A step that finds the sheet diverged ends the tick's stepping at once, and its document stops
  // the timer; meanwhile the views draw the positions the tick began from.
  void aRealTimeTickEndsAtTheStepThatDiverged() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = newView(document);
    QVERIFY(view != nullptr);
    std::int64_t now = 0;
    document->runTimer.setClock([&now] { return now; });
    document->divergeAtStep = 3;
    const std::vector<double> before = clothsetups::coordinatesOf(*document->cloth.positions);
    std::vector<double> drawnWhileStepping;
    document->duringStep = [&] { drawnWhileStepping = clothsetups::coordinatesOf(*document->shownFrame()); };
    const bool realTime = true;
    document->runTimer.followRealTime(&realTime);
    view->OnRun();
    now += 100000000;
    document->runTimer.tick();
    QCOMPARE(document->steps, 3);
    QVERIFY(!document->runTimer.running());
    QVERIFY(drawnWhileStepping == before);
    QVERIFY(document->shownFrame() == nullptr);
  }

  // A tick readies the frame due within it at once and shows it when due: the next frame then
  // falls a whole interval after that, not after the readying, so frames keep their pace.
  void aFrameReadiedAheadKeepsTheFramePace() {
    CLoomwiseView* view = newView(nullptr);
    QVERIFY(view != nullptr);
    FrameClock& frames = FrameClock::instance();
    QTRY_VERIFY(!frames.framePending());
    frames.request(*view);
    QTRY_VERIFY(!frames.framePending());  // shown: the next request waits out a whole interval
    frames.request(*view);
    QSignalSpy readied(&frames, &FrameClock::aboutToShowFrame);
    const int dueIn = frames.readyFrameDueWithin(FrameClock::kFrameIntervalMs);
    QVERIFY2(dueIn >= 0 && dueIn <= FrameClock::kFrameIntervalMs, qPrintable(QString::number(dueIn)));
    QCOMPARE(readied.count(), 1);
    frames.request(*view);
    QVERIFY(frames.readyFrameDueWithin(FrameClock::kFrameIntervalMs + dueIn - 5) == -1);
  }

  // Window > New Window shows the same cloth twice: the view that does not run must follow it.
  void everyViewOfTheDocumentRepaintsWhenItsClothMoves() {
    auto* document = new CountingDocument;
    CLoomwiseView* running = newView(document);
    CLoomwiseView* watching = newView(document);
    QVERIFY(running != nullptr && watching != nullptr);
    QSignalSpy frames(watching, &QOpenGLWidget::frameSwapped);
    running->OnRun();
    QTRY_VERIFY(frames.count() >= 3);
    running->OnRun();
  }

  // Printing takes the view's picture: its black background must stay black on paper, not let
  // the page show through.
  void thePrintedPictureIsOpaque() {
    CLoomwiseView* view = newView(nullptr);
    QVERIFY(view != nullptr);
    const QImage printed = view->printedPicture();
    QVERIFY(!printed.hasAlphaChannel());
    QCOMPARE(printed.pixel(5, 5), qRgb(0, 0, 0));
    QVERIFY(isRed(printed.pixel(kCentreX + 50, kCentreY)));
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseViewTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseView.moc"
