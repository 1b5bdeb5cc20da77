// A cloth that blows up in the window, and Simulation > Reset: the timer and the recording stop,
// a message box tells what to change and offers the reset, and Reset lays the cloth out again.
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "AppTestDriver.h"
#include "app/Resource.h"

namespace {

void setParameter(CLoomwiseDoc* doc, const char* name, double value) { doc->cloth.parameters.find(name)->value = value; }

bool atRest(const Cloth& cloth) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k), rest = cloth.restPositions->at(k);
    if (p.x != rest.x || p.y != rest.y || p.z != rest.z) return false;
  }
  return true;
}

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kLastLineOfAFrame = "setKeyframe -shape 1 {\"flag.cv[0:7][0:7]\"};\n";

}  // namespace

class CLoomwiseDocDivergenceTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppTestDriver> run;

  CLoomwiseDoc* doc() const { return run->activeDocument(); }
  QString caption() const { return run->frame().windowTitle(); }
  // What the caption shows while recording: the program's and the cloth's names, then `text`.
  QString recordingCaption(const char* text) const { return "Loomwise - " + doc()->title() + " - " + text; }
  QString script() const { return run->files.filePath("animate_flag.mel"); }

  void startRecording(int skip) { QCOMPARE(doc()->session.start(run->files.filePath("flag").toStdString(), skip, 5, 5), 0); }

  void reset(const QString& how) {
    if (how == "menu") QVERIFY(run->chooseMenu("&Simulation", "R&eset\tCtrl+Shift+R"));
    if (how == "toolbar") run->clickButton(ID_SIMULATION_RESET);
    if (how == "shortcut") {
      QVERIFY(showActive(run->frame()));
      QTest::keyClick(&run->frame(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    }
  }

private slots:
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start());
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void divergenceStopsTheClothAndOffersAReset_data() {
    QTest::addColumn<bool>("recording");
    QTest::addColumn<bool>("resetFromTheBox");
    QTest::newRow("running, closed") << false << false;
    QTest::newRow("recording, closed") << true << false;
    QTest::newRow("recording, reset") << true << true;
  }
  void divergenceStopsTheClothAndOffersAReset() {
    QFETCH(bool, recording);
    QFETCH(bool, resetFromTheBox);
    setParameter(doc(), "density", 0.05);  // the panel's ends: beyond the stability limit
    setParameter(doc(), "kStretch", 16000.0);
    if (recording) startRecording(2);
    QString text, detail, captionThen;
    bool timerStopped = false;
    auto box = whenModal<QMessageBox>([&](QMessageBox* b) {
      text = b->text();
      detail = b->informativeText();
      captionThen = caption();
      timerStopped = run->activeView()->timerId() == 0;
      QPushButton* reset = nullptr;
      for (QAbstractButton* button : b->buttons())
        if (b->buttonRole(button) == QMessageBox::ResetRole) reset = qobject_cast<QPushButton*>(button);
      QVERIFY(reset != nullptr);
      QTest::mouseClick(resetFromTheBox ? reset : b->button(QMessageBox::Close), Qt::LeftButton);
    });
    run->clickButton(ID_RUN);
    QTRY_VERIFY(box->ran);
    QVERIFY(text.startsWith("The cloth became unstable at step "));
    QVERIFY(detail.contains("density") && detail.contains("spacing") && detail.contains("Reset"));
    QVERIFY(detail.endsWith(" The XPBD solver (Simulation > Solver > XPBD) is stable there."));
    QVERIFY(timerStopped);
    QCOMPARE(run->activeView()->timerId(), 0u);
    QVERIFY(!doc()->session.recording);
    QCOMPARE(doc()->cloth.diverged, !resetFromTheBox);
    QCOMPARE(atRest(doc()->cloth), resetFromTheBox);
    QCOMPARE(doc()->cloth.parameters.valueOf("density"), 0.05);
    if (!recording) return;
    QCOMPARE(captionThen, recordingCaption("Stopped recording"));
    const QByteArray animation = contentOf(script());
    QVERIFY(animation.isEmpty() || animation.endsWith(kLastLineOfAFrame));
    QVERIFY(!animation.contains("nan") && !animation.contains("inf"));
  }

  // Every way to reach the command; the cloth made by File > New with typed values comes back.
  void resetLaysTheClothOutAgainAsItWasMade_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("toolbar") << "toolbar";
    QTest::newRow("shortcut") << "shortcut";
  }
  void resetLaysTheClothOutAgainAsItWasMade() {
    QFETCH(QString, how);
    auto made = whenModal<ClothInitDialog>([](ClothInitDialog* d) {
      typeInto(d->control<QLineEdit>(IDC_NODE_SPACING), "0.3");
      typeInto(d->control<QLineEdit>(IDC_CLOTH_WIDTH), "13");
      typeInto(d->control<QLineEdit>(IDC_CLOTH_HEIGHT), "7");
      QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("&File", "&New\tCtrl+N"));
    QVERIFY(made->ran);
    setParameter(doc(), "kBend", 300.0);
    setParameter(doc(), "gravity", NAN);
    auto box = whenModal<QMessageBox>([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); });
    doc()->advance(Simulation::kCheckInterval);  // breaks the sheet, found at the next check; Escape closes its box
    QVERIFY(box->ran);
    QVERIFY(doc()->cloth.diverged);
    setParameter(doc(), "gravity", -9.8);
    reset(how);
    QCOMPARE(doc()->cloth.width, 13);
    QCOMPARE(doc()->cloth.height, 7);
    QCOMPARE(doc()->cloth.spacing, double(0.3f));
    QVERIFY(!doc()->cloth.diverged);
    QVERIFY(atRest(doc()->cloth));
    QCOMPARE(doc()->cloth.parameters.valueOf("kBend"), 300.0);
  }

  void resetWhileRecordingStopsTheRecordingFirst() {
    startRecording(2);
    for (int i = 0; i < 10; ++i) doc()->advanceFrame();
    reset("shortcut");
    QVERIFY(!doc()->session.recording);
    QCOMPARE(caption(), recordingCaption("Stopped recording"));
    QVERIFY(atRest(doc()->cloth));
    const QByteArray animation = contentOf(script());
    QCOMPARE(animation.count("currentTime"), 5);
    QVERIFY(animation.endsWith(kLastLineOfAFrame));
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseDocDivergenceTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseDocDivergence.moc"
