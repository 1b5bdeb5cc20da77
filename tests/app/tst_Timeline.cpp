// The timeline of the window, worked as a user works it: Simulation > Step Frame, the slider over
// the frames kept since the last reset, the frame pane of the status bar with the recording's
// progress, and File > Export Image.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <set>

#include "AppTestDriver.h"
#include "app/ExportImageDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"

namespace {

std::vector<double> coordinates(const NodeBuffer& nodes) {
  std::vector<double> all;
  for (int k = 0; k < nodes.count(); ++k) {
    const Vec3 p = nodes.at(k);
    all.insert(all.end(), {p.x, p.y, p.z});
  }
  return all;
}

QString frameText(std::int64_t frame, std::int64_t step) {
  return QString::asprintf("Frame %lld  t = %.3f s", static_cast<long long>(frame), step * Simulation::kTimeStep);
}

}  // namespace

class TimelineTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppTestDriver> run;
  QString fileAnswer;

  CLoomwiseDoc* doc() const { return run->activeDocument(); }
  CLoomwiseView* view() const { return run->activeView(); }
  QSlider* slider() const { return run->frame().findChild<QSlider*>("timelineSlider"); }
  QString framePane() const { return run->frame().findChild<QLabel*>("framePane")->text(); }
  bool stepFrame() const { return run->chooseMenu("&Simulation", "Step &Frame"); }
  int stepsPerFrame() const { return doc()->sim.stepsPerFrame; }

private slots:
  // A stopped cloth at step 0 with only its first frame kept.
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start({run->file("doc")}));
    run->app->setFileChooser([this](QWidget*, FileDialogKind, const QString&) { return fileAnswer; });
    view()->stopTimer();
    QVERIFY(run->chooseMenu("&Simulation", "R&eset\tCtrl+Shift+R"));
    QCOMPARE(doc()->history.size(), 1u);
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // From a frame or between two, Step Frame goes on to the next frame and keeps it; greyed while
  // the cloth runs.
  void stepFrameTakesTheClothToItsNextFrame_data() {
    QTest::addColumn<int>("stepsBefore");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("framesAfter");
    QTest::newRow("at a frame") << 0 << false << 1;
    QTest::newRow("between frames") << 70 << false << 2;
    QTest::newRow("running") << 0 << true << 0;
  }
  void stepFrameTakesTheClothToItsNextFrame() {
    QFETCH(int, stepsBefore);
    QFETCH(bool, running);
    QFETCH(int, framesAfter);
    doc()->advance(stepsBefore);
    if (running) view()->startTimer();
    QCOMPARE(stepFrame(), !running);
    view()->stopTimer();
    if (running) return;
    QCOMPARE(doc()->sim.stepCount(), framesAfter * stepsPerFrame());
    QCOMPARE(doc()->history.newest().step, doc()->sim.stepCount());
    QCOMPARE(doc()->history.size(), std::size_t(framesAfter) + 1);
    QTRY_COMPARE(framePane(), frameText(framesAfter, framesAfter * stepsPerFrame()));
  }

  // The slider dragged back shows a kept frame, positions and picture as they were at that frame,
  // without touching the live cloth; Step Frame or Run goes on from the newest frame, and Reset
  // forgets them all.
  void scrubbingBackShowsAnEarlierFrame_data() {
    QTest::addColumn<bool>("runOn");
    QTest::newRow("Step Frame") << false;
    QTest::newRow("Run") << true;
  }
  void scrubbingBackShowsAnEarlierFrame() {
    QFETCH(bool, runOn);
    std::vector<std::vector<double>> positions{coordinates(*doc()->cloth.positions)};
    std::vector<QImage> pictures{view()->grabFramebuffer()};
    for (int frame = 1; frame <= 4; ++frame) {
      QVERIFY(stepFrame());
      positions.push_back(coordinates(*doc()->cloth.positions));
      pictures.push_back(view()->grabFramebuffer());
    }
    QTRY_VERIFY(slider()->isEnabled() && slider()->maximum() == 4 && slider()->value() == 4);
    QTest::keyClick(slider(), Qt::Key_Left);
    QTest::keyClick(slider(), Qt::Key_Left);
    QCOMPARE(slider()->value(), 2);
    QVERIFY(doc()->shownFrame() != nullptr);
    QCOMPARE(coordinates(*doc()->shownFrame()), positions[2]);
    QCOMPARE(view()->grabFramebuffer(), pictures[2]);
    QCOMPARE(coordinates(*doc()->cloth.positions), positions[4]);
    QTRY_COMPARE(framePane(), frameText(2, 2 * stepsPerFrame()));

    if (runOn) {
      run->clickButton(ID_RUN);
      QTRY_VERIFY(doc()->sim.stepCount() > 4 * stepsPerFrame());
      run->clickButton(ID_RUN);
    } else {
      QVERIFY(stepFrame());
      QCOMPARE(doc()->sim.stepCount(), 5 * stepsPerFrame());
    }
    QVERIFY(doc()->shownFrame() == nullptr);
    const int newest = static_cast<int>(doc()->history.size()) - 1;
    QTRY_VERIFY(slider()->maximum() == newest && slider()->value() == newest);

    QVERIFY(run->chooseMenu("&Simulation", "R&eset\tCtrl+Shift+R"));
    QTRY_COMPARE(slider()->maximum(), 0);
    QCOMPARE(coordinates(*doc()->history.newest().positions), positions[0]);
    QTRY_COMPARE(framePane(), frameText(0, 0));
  }

  // While recording, the pane counts the frames on disk and the bytes of the files, those a
  // format writes at the end included (MDD: 12 bytes a node a frame).
  void theFramePaneShowsTheRecordingsProgress_data() {
    QTest::addColumn<QList<int>>("formats");
    QTest::addColumn<qint64>("spooledBytesPerFrame");
    QTest::newRow("OBJ") << QList<int>{3} << qint64(0);
    QTest::newRow("OBJ and MDD") << QList<int>{3, 2} << qint64(170 * 12);
  }
  void theFramePaneShowsTheRecordingsProgress() {
    QFETCH(QList<int>, formats);
    QFETCH(qint64, spooledBytesPerFrame);
    RecordingSettingsDialog::rememberFormats({RecordingFormat::mel});
    fileAnswer = run->files.filePath("take");
    auto settings = whenModal<RecordingSettingsDialog>([&formats](RecordingSettingsDialog* d) {
      d->control<QCheckBox>(IDC_FORMAT_FIRST)->click();  // MEL off
      for (int format : formats) d->control<QCheckBox>(IDC_FORMAT_FIRST + format)->click();
      typeInto(d->control<QLineEdit>(IDC_TIME_STEP_SKIP), "10");
      QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(showActive(run->frame()));
    QTest::keyClick(&run->frame(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(settings->ran);
    view()->stopTimer();
    for (int i = 0; i < 3; ++i) QVERIFY(stepFrame());

    const QFileInfoList frames = QDir(run->files.path()).entryInfoList({"take.????.obj"});
    QVERIFY(frames.size() >= 3);
    qint64 bytes = QFileInfo(run->files.filePath("take.obj")).size() + frames.size() * spooledBytesPerFrame;
    for (const QFileInfo& frame : frames) bytes += frame.size();
    const QString progress = QStringLiteral("    %1 frames written, %2")
                                 .arg(frames.size())
                                 .arg(QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat));
    QTRY_COMPARE(framePane(), frameText(doc()->history.newest().number, doc()->sim.stepCount()) + progress);
  }

  // The PNG has the size asked for, the view's own unless another is typed, and shows the scene;
  // a file that cannot be written is told with the reason and leaves nothing.
  void exportImageWritesThePng_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("typed");
    QTest::addColumn<QString>("reason");
    QTest::newRow("view's size") << "view.png" << QSize() << "";
    QTest::newRow("typed size") << "large.png" << QSize(900, 250) << "";
    QTest::newRow("no such folder") << "missing/view.png" << QSize() << "No such file or directory";
  }
  void exportImageWritesThePng() {
    QFETCH(QString, file);
    QFETCH(QSize, typed);
    QFETCH(QString, reason);
    QVERIFY(stepFrame());
    fileAnswer = run->files.filePath(file);
    QSize opened;
    auto sizeDialog = whenModal<ExportImageDialog>([&](ExportImageDialog* d) {
      opened = {d->control<QLineEdit>(IDC_IMAGE_WIDTH)->text().toInt(), d->control<QLineEdit>(IDC_IMAGE_HEIGHT)->text().toInt()};
      if (typed.isValid()) {
        typeInto(d->control<QLineEdit>(IDC_IMAGE_WIDTH), QString::number(typed.width()));
        typeInto(d->control<QLineEdit>(IDC_IMAGE_HEIGHT), QString::number(typed.height()));
      }
      QTest::keyClick(d, Qt::Key_Return);
    });
    QString detail;
    auto warning = whenModal<QMessageBox>([&detail](QMessageBox* box) {
      detail = box->informativeText();
      QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("&File", "&Export Image..."));
    QVERIFY(sizeDialog->ran);
    QCOMPARE(opened, view()->size());
    QCOMPARE(warning->ran, !reason.isEmpty());
    if (!reason.isEmpty()) {
      QVERIFY2(detail.startsWith(QDir::toNativeSeparators(fileAnswer)) && detail.contains(reason), qPrintable(detail));
      QVERIFY(!QFile::exists(fileAnswer));
      return;
    }
    QImage image(fileAnswer, "png");
    QCOMPARE(image.size(), typed.isValid() ? typed : view()->size());
    if (!typed.isValid()) QCOMPARE(image.convertToFormat(QImage::Format_RGB32), view()->grabFramebuffer().convertToFormat(QImage::Format_RGB32));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
      for (int x = 0; x < image.width(); x += 4) colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 1);
  }
};

LOOMWISE_GUI_TEST_MAIN(TimelineTest, CLoomwiseView::requestPixelFormat)
#include "tst_Timeline.moc"
