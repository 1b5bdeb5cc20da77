// The timeline worked as a user works it: Step Frame, the slider over the kept frames, the frame
// pane with the recording's progress, and File > Export Image.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <set>

#include "AppTestDriver.h"
#include "ClothSetups.h"
#include "app/ExportImageDialog.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"

namespace {

using clothsetups::coordinatesOf;

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
  bool reset() const { return run->chooseMenu("&Simulation", "R&eset\tCtrl+Shift+R"); }

private slots:
  // A stopped cloth at step 0 that keeps its first frame alone.
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start({run->file("doc")}));
    run->app->setFileChooser([this](QWidget*, FileDialogKind, const QString&) { return fileAnswer; });
    view()->stopTimer();
    QVERIFY(reset());
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // Step Frame takes the steps to the next frame, and is greyed while running. The slider dragged
  // back shows a kept frame's positions and picture, the live cloth untouched; Step Frame or Run
  // goes on from the newest frame; Reset forgets them.
  void scrubbingBackShowsAnEarlierFrame_data() {
    QTest::addColumn<bool>("runOn");
    QTest::newRow("Step Frame") << false;
    QTest::newRow("Run") << true;
  }
  void scrubbingBackShowsAnEarlierFrame() {
    QFETCH(bool, runOn);
    const int stepsPerFrame = doc()->sim.stepsPerFrame;
    doc()->advance(5);  // between frames 0 and 1
    std::vector<std::vector<double>> positions;
    std::vector<QImage> pictures;
    for (int frame = 1; frame <= 4; ++frame) {
      QVERIFY(stepFrame());
      QCOMPARE(doc()->sim.stepCount(), frame * stepsPerFrame);
      positions.push_back(coordinatesOf(*doc()->cloth.positions));
      pictures.push_back(view()->grabFramebuffer());
    }
    QTRY_VERIFY(slider()->isEnabled() && slider()->maximum() == 4 && slider()->value() == 4);
    QTest::keyClick(slider(), Qt::Key_Left);
    QTest::keyClick(slider(), Qt::Key_Left);
    QCOMPARE(coordinatesOf(*doc()->shownFrame()), positions[1]);
    QCOMPARE(view()->grabFramebuffer(), pictures[1]);
    QCOMPARE(coordinatesOf(*doc()->cloth.positions), positions[3]);
    QTRY_COMPARE(framePane(), frameText(2, 2 * stepsPerFrame));

    if (runOn) run->clickButton(ID_RUN);
    QCOMPARE(stepFrame(), !runOn);
    QTRY_VERIFY(doc()->sim.stepCount() > 4 * stepsPerFrame);
    view()->stopTimer();
    QVERIFY(doc()->shownFrame() == nullptr);
    QTRY_VERIFY(slider()->maximum() == int(doc()->history.size()) - 1 && slider()->value() == slider()->maximum());
    QVERIFY(reset());
    QTRY_COMPARE(slider()->maximum(), 0);
    QTRY_COMPARE(framePane(), frameText(0, 0));
  }

  // While recording, the pane counts the frames on disk and the files' bytes, those of a format
  // written at the end included (MDD: 12 bytes a node a frame).
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
      for (int format : formats + QList<int>{0}) d->control<QCheckBox>(IDC_FORMAT_FIRST + format)->click();
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
    QTRY_COMPARE(framePane(), frameText(doc()->history.newest().number, doc()->sim.stepCount()) +
                                  QStringLiteral("    %1 frames written, %2").arg(frames.size())
                                      .arg(QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat)));
  }

  // The PNG is the view's size unless another is typed, and shows the scene as the view does; a
  // file that cannot be written is told with the reason.
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
    auto sizeDialog = whenModal<ExportImageDialog>([&](ExportImageDialog* d) {
      if (typed.isValid()) typeInto(d->control<QLineEdit>(IDC_IMAGE_WIDTH), QString::number(typed.width()));
      if (typed.isValid()) typeInto(d->control<QLineEdit>(IDC_IMAGE_HEIGHT), QString::number(typed.height()));
      QTest::keyClick(d, Qt::Key_Return);
    });
    QString detail;
    whenModal<QMessageBox>([&detail](QMessageBox* box) {
      detail = box->informativeText();
      QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("&File", "&Export Image..."));
    QVERIFY(sizeDialog->ran);
    QCOMPARE(detail, reason.isEmpty() ? QString() : fileAnswer + ": " + reason);
    const QImage image = QImage(fileAnswer, "png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.isNull(), !reason.isEmpty());
    if (image.isNull()) return;
    QCOMPARE(image.size(), typed.isValid() ? typed : view()->size());
    if (!typed.isValid()) QCOMPARE(image, view()->grabFramebuffer().convertToFormat(QImage::Format_RGB32));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
      for (int x = 0; x < image.width(); x += 4) colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 1);
  }
};

LOOMWISE_GUI_TEST_MAIN(TimelineTest, CLoomwiseView::requestPixelFormat)
#include "tst_Timeline.moc"
