// File > Save as the recording toggle, worked as a user works it: Ctrl+S, the file dialog, the
// Recording Settings dialog, the caption, the message boxes, and the scripts it leaves on disk.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <cerrno>
#include <cstring>

#include "AppTestDriver.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "cloth/RandomGenerator.h"

namespace {

constexpr int kLinesPerFrame = 194;  // with 5 × 5 patches

using SettingsAnswer = std::function<void(RecordingSettingsDialog*)>;

void pressEnter(RecordingSettingsDialog* d) { QTest::keyClick(d, Qt::Key_Return); }

void enterSettings(RecordingSettingsDialog* d, int skip, int patchesU, int patchesV) {
  typeInto(d->control<QLineEdit>(IDC_TIME_STEP_SKIP), QString::number(skip));
  typeInto(d->control<QLineEdit>(IDC_PATCHES_U), QString::number(patchesU));
  typeInto(d->control<QLineEdit>(IDC_PATCHES_V), QString::number(patchesV));
}

// Types the skip and patch counts and presses `key`.
SettingsAnswer typeSettings(int skip, int patchesU, int patchesV, Qt::Key key = Qt::Key_Return) {
  return [=](RecordingSettingsDialog* d) {
    enterSettings(d, skip, patchesU, patchesV);
    QTest::keyClick(d, key);
  };
}

QStringList linesOf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {"cannot read " + path};
  return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("cannot read " + path.toLatin1());
}

QList<int> framesIn(const QString& path) {
  QList<int> frames;
  for (const QString& line : linesOf(path))
    if (line.startsWith("currentTime ")) frames << line.mid(12).chopped(1).toInt();
  return frames;
}

// Whether this process still holds a descriptor on the file.
bool isOpenHere(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  for (const QFileInfo& fd : QDir("/proc/self/fd").entryInfoList(QDir::Files | QDir::System))
    if (fd.symLinkTarget() == target) return true;
  return false;
}

// Answers a message box with Enter, keeping what it showed.
struct BoxSeen {
  QString text, detail;
  QMessageBox::StandardButtons buttons;
};
std::shared_ptr<ModalStep> whenMessageBox(BoxSeen& seen) {
  return whenModal<QMessageBox>([&seen](QMessageBox* box) {
    seen = {box->text(), box->informativeText(), box->standardButtons()};
    QTest::keyClick(box, Qt::Key_Return);
  });
}

}  // namespace

class CLoomwiseDocRecordingTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppTestDriver> run;
  QString fileAnswer;  // what the file dialog gives: a path, or empty for Cancel
  int fileDialogs = 0;
  bool timerStoppedWhileAsking = true;

  CLoomwiseDoc* doc() const { return run->activeDocument(); }
  CLoomwiseView* view() const { return run->activeView(); }
  QString path(const QString& name) const { return run->files.filePath(name); }
  QString caption() const { return run->frame().windowTitle(); }
  // What the caption shows while recording: the program's and the cloth's names, then `text`.
  QString recordingCaption(const char* text) const { return "Loomwise - " + doc()->title() + " - " + text; }

  // Ctrl+S with the file dialog answered by `file` and, when it comes, the settings dialog by
  // `settings`. The timer must be stopped while either is open.
  std::shared_ptr<ModalStep> save(const QString& file, const SettingsAnswer& settings = pressEnter) {
    fileAnswer = file;
    auto step = std::make_shared<ModalStep>();
    if (!file.isEmpty())
      step = whenModal<RecordingSettingsDialog>([this, settings](RecordingSettingsDialog* d) {
        timerStoppedWhileAsking &= view()->timerId() == 0;
        settings(d);
      });
    // Without a window manager nothing gives the main window back its activation after a dialog.
    if (!showActive(run->frame())) return std::make_shared<ModalStep>();
    QTest::keyClick(&run->frame(), Qt::Key_S, Qt::ControlModifier);
    return step;
  }

  // Starts recording `name` and stops the timer again, so that only the test takes steps.
  bool record(const QString& name, const SettingsAnswer& settings = pressEnter) {
    const bool asked = save(path(name), settings)->ran;
    const bool started = asked && doc()->session.recording && view()->timerId() != 0;
    view()->stopTimer();
    return started;
  }

  // Stops the recording and the timer it started again.
  bool stop() {
    save({});
    const bool stopped = !doc()->session.recording && view()->timerId() != 0;
    view()->stopTimer();
    return stopped;
  }

  void stepTo(int steps) {
    while (doc()->sim.stepCount() < steps) doc()->advanceFrame();
  }

private slots:
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start({run->file("doc")}));
    fileDialogs = 0;
    timerStoppedWhileAsking = true;
    run->app->setFileChooser([this](QWidget*, FileDialogKind kind, const QString& suggested) {
      ++fileDialogs;
      timerStoppedWhileAsking &= kind == FileDialogKind::Save && suggested.isEmpty() && view()->timerId() == 0;
      return fileAnswer;
    });
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // Whatever the command does, the simulation runs afterwards, even if it was stopped before;
  // and no step is taken while a dialog is open.
  void everyPathRestartsTheTimer_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("recordingBefore");
    QTest::addColumn<bool>("recordingAfter");
    QTest::addColumn<bool>("message");
    QTest::newRow("file dialog cancelled") << "" << false << false << false;
    QTest::newRow("started") << "take" << false << true << false;
    QTest::newRow("start failed") << "missing/take" << false << false << true;
    QTest::newRow("stopped") << "" << true << false << false;
  }
  void everyPathRestartsTheTimer() {
    QFETCH(QString, file);
    QFETCH(bool, recordingBefore);
    QFETCH(bool, recordingAfter);
    QFETCH(bool, message);
    if (recordingBefore) QVERIFY(record("first"));
    QCOMPARE(view()->timerId(), 0u);
    BoxSeen box;
    auto boxShown = whenMessageBox(box);
    save(file.isEmpty() ? QString() : path(file));
    QVERIFY(view()->timerId() != 0);
    QVERIFY(timerStoppedWhileAsking);
    QCOMPARE(doc()->session.recording, recordingAfter);
    QCOMPARE(boxShown->ran, message);
    QCOMPARE(fileDialogs, 1);  // stopping asks for nothing
    if (file.isEmpty() && !recordingBefore)  // nothing written
      QCOMPARE(QDir(run->files.path()).entryList(QDir::Files), QStringList{"doc"});
  }

  void theSettingsDialogOffersThePresetAndTheTimeStep() {
    QString label, skip, patchesU, patchesV;
    auto step = save(path("take"), [&](RecordingSettingsDialog* d) {
      label = d->control<QLabel>(IDC_TIME_STEP_LABEL)->text();
      skip = d->control<QLineEdit>(IDC_TIME_STEP_SKIP)->text();
      patchesU = d->control<QLineEdit>(IDC_PATCHES_U)->text();
      patchesV = d->control<QLineEdit>(IDC_PATCHES_V)->text();
      QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(step->ran);
    QCOMPARE(label, QStringLiteral("Current delta t: 0.0005"));
    QCOMPARE(QStringList({skip, patchesU, patchesV}), QStringList({"66", "5", "5"}));
    QCOMPARE(doc()->session.timeStepSkip, 66);
    QCOMPARE(linesOf(path("create_take.mel")),
             QStringList({"nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 4.250 -lr 0.588 -d 3 -u 5 -v 5;",
                          "rename \"take\";"}));
  }

  // Escape keeps the opened values, also after a refused OK that had read some fields.
  void escapeRecordsNothing_data() {
    QTest::addColumn<bool>("triedOk");
    QTest::newRow("edited") << false;
    QTest::newRow("edited and refused") << true;
  }
  // Escape, with or without a refused OK before it, records nothing, and the simulation runs on.
  void escapeRecordsNothing() {
    QFETCH(bool, triedOk);
    bool refused = false;
    QVERIFY(save(path("take"), [&](RecordingSettingsDialog* d) {
              if (triedOk) {
                enterSettings(d, 10, 10, 31);
                refused = pressOkExpectingRefusal(d).message.contains("between 1 and 30");
              }
              typeSettings(10, 10, 10, Qt::Key_Escape)(d);
            })->ran);
    QCOMPARE(refused, triedOk);
    QVERIFY(!doc()->session.recording);
    QVERIFY(!QFile::exists(path("create_take.mel")));
    QVERIFY(run->activeView()->timerId() != 0);
    run->activeView()->stopTimer();
  }

  // Recording again under a name whose files exist asks first, naming them: No leaves them as they
  // were, Replace records over them.
  void anEarlierRecordingIsReplacedOnlyWhenTheUserSaysSo() {
    QVERIFY(record("take", typeSettings(5, 5, 5)));
    stepTo(20);
    QVERIFY(stop());
    const QByteArray before = contentOf(path("animate_take.mel"));
    QVERIFY(!before.isEmpty());
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
      BoxSeen seen;
      auto box = whenModal<QMessageBox>([&](QMessageBox* b) {
        seen = {b->text(), b->informativeText(), b->standardButtons()};
        QTest::mouseClick(b->button(answer), Qt::LeftButton);
      });
      QCOMPARE(record("take"), answer == QMessageBox::Yes);
      QVERIFY(box->ran);
      QVERIFY(seen.text.contains("replace 2 files"));
      QVERIFY(seen.detail.contains("create_take.mel") && seen.detail.contains("animate_take.mel"));
      QCOMPARE(contentOf(path("animate_take.mel")) == before, answer == QMessageBox::No);
    }
  }

  // Frames fall on multiples of the skip of the steps since the document was made.
  void theFirstFrameLandsOnTheNextMultipleOfTheSkip() {
    stepTo(1000);
    QVERIFY(record("take"));
    stepTo(1055);
    QCOMPARE(caption(), QStringLiteral("Loomwise - doc"));
    QVERIFY(framesIn(path("animate_take.mel")).isEmpty());
    stepTo(1056);
    QCOMPARE(caption(), recordingCaption("Recording frame: 1"));
    QCOMPARE(framesIn(path("animate_take.mel")), QList<int>{1});
  }

  void frameNumbersContinueAcrossTheRecordingsOfADocument() {
    QVERIFY(record("first", typeSettings(5, 5, 5)));
    stepTo(60);
    QVERIFY(stop());
    QVERIFY(record("second", typeSettings(5, 5, 5)));
    stepTo(70);
    QCOMPARE(caption(), recordingCaption("Recording frame: 14"));
    QVERIFY(stop());
    QCOMPARE(framesIn(path("animate_first.mel")), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    QCOMPARE(framesIn(path("animate_second.mel")), QList<int>({13, 14}));
  }

  // A recording that cannot start says why, and the next command starts again with the file
  // dialog. When only the animate script failed, the create script stays.
  void aRecordingThatCannotStartSaysWhy_data() {
    QTest::addColumn<QString>("blocked");  // the path that cannot be written
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("createWritten");
    QTest::newRow("missing directory") << "missing/create_take.mel" << QString(std::strerror(ENOENT)) << false;
    QTest::newRow("animate script") << "animate_take.mel" << QString(std::strerror(EISDIR)) << true;
  }
  void aRecordingThatCannotStartSaysWhy() {
    QFETCH(QString, blocked);
    QFETCH(QString, reason);
    QFETCH(bool, createWritten);
    const QString directory = QFileInfo(path(blocked)).path();
    if (!createWritten) QVERIFY(!QDir(directory).exists());
    if (createWritten) QVERIFY(QDir().mkdir(path(blocked)));  // a directory where the file should go
    BoxSeen box;
    auto boxShown = whenMessageBox(box);
    QVERIFY(save(directory + "/take")->ran);
    QVERIFY(boxShown->ran);
    QCOMPARE(box.text, QStringLiteral("Unable to start recording."));
    QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.detail, path(blocked) + ": " + reason);
    QVERIFY(!doc()->session.recording);
    QCOMPARE(QFile::exists(directory + "/create_take.mel"), createWritten);
    save({});
    QCOMPARE(fileDialogs, 2);
  }

  // The menu item, the toolbar button and Ctrl+S all toggle; stopping leaves the script complete
  // and closed and the simulation running, without a file dialog.
  void theCommandWhileRecordingStopsIt_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("toolbar") << "toolbar";
    QTest::newRow("Ctrl+S") << "key";
  }
  void theCommandWhileRecordingStopsIt() {
    QFETCH(QString, how);
    QVERIFY(record("take"));
    stepTo(66 * 3 + 10);
    QVERIFY(isOpenHere(path("animate_take.mel")));
    if (how == "menu") QVERIFY(run->chooseMenu("&File", "&Save\tCtrl+S"));
    if (how == "toolbar") run->clickButton(ID_FILE_SAVE);
    if (how == "key") save({});
    QCOMPARE(caption(), recordingCaption("Stopped recording"));
    QVERIFY(!doc()->session.recording);
    QCOMPARE(fileDialogs, 1);
    QVERIFY(!isOpenHere(path("animate_take.mel")));
    const QStringList lines = linesOf(path("animate_take.mel"));
    QCOMPARE(lines.size(), 3 * kLinesPerFrame);
    QCOMPARE(lines.last(), QStringLiteral("setKeyframe -shape 1 {\"take.cv[0:7][0:7]\"};"));
    QVERIFY(view()->timerId() != 0);
    QTRY_VERIFY(doc()->sim.stepCount() > 66 * 3 + 10);  // the simulation goes on
  }

  void closingTheDocumentLeavesACompleteClosedScript() {
    QVERIFY(record("take", typeSettings(5, 5, 5)));
    stepTo(17);
    QVERIFY(run->chooseMenu("&File", "&Close"));
    QVERIFY(run->documents().empty());
    QVERIFY(!isOpenHere(path("animate_take.mel")));
    const QStringList lines = linesOf(path("animate_take.mel"));
    QCOMPARE(framesIn(path("animate_take.mel")), QList<int>({1, 2, 3}));
    QCOMPARE(lines.size(), 3 * kLinesPerFrame);
    QCOMPARE(lines.last(), QStringLiteral("setKeyframe -shape 1 {\"take.cv[0:7][0:7]\"};"));
  }

  // The formats checked reach the recording and are offered again next time; closing the document
  // while recording completes even the caches written only at the end.
  void theChosenFormatsAreWrittenAndRemembered() {
    RecordingSettingsDialog::rememberFormats({RecordingFormat::mel});
    const auto chooseCaches = [](RecordingSettingsDialog* d) {
      for (int id : {IDC_FORMAT_FIRST, IDC_FORMAT_FIRST + 1, IDC_FORMAT_FIRST + 4})  // MEL off, PC2 and glTF on
        d->control<QCheckBox>(id)->click();
      enterSettings(d, 5, 5, 5);
      QTest::keyClick(d, Qt::Key_Return);
    };
    QVERIFY(record("take", chooseCaches));
    stepTo(15);
    QVERIFY(run->chooseMenu("&File", "&Close"));
    QVERIFY(run->documents().empty());
    QVERIFY(!QFile::exists(path("create_take.mel")));
    QCOMPARE(QFile(path("take.pc2")).size(), 32 + 3 * 170 * 12);
    QVERIFY(QFile::exists(path("take.obj")));
    QVERIFY(contentOf(path("take.glb")).startsWith("glTF"));

    auto defaultCloth = whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    QVERIFY(run->chooseMenu("&File", "&New\tCtrl+N"));
    QVERIFY(defaultCloth->ran);
    QStringList checked;
    QVERIFY(record("again", [&checked](RecordingSettingsDialog* d) {
      for (QCheckBox* box : d->findChildren<QCheckBox*>())
        if (box->isChecked()) checked << box->text();
      QTest::keyClick(d, Qt::Key_Return);
    }));
    QCOMPARE(checked, QStringList({"PC2", "glTF"}));
    QVERIFY(QFile::exists(path("again.pc2")));
    RecordingSettingsDialog::rememberFormats({RecordingFormat::mel});
  }

  // A frame that cannot be written (a full disk here) ends the recording: no caption claims it,
  // the script is closed, and the user is told which file and why.
  void aFrameThatCannotBeWrittenStopsTheRecording() {
    QVERIFY(QFile::link("/dev/full", path("animate_take.mel")));
    QVERIFY(record("take", typeSettings(5, 5, 5)));
    stepTo(4);
    BoxSeen box;
    auto boxShown = whenMessageBox(box);
    stepTo(5);
    QVERIFY(boxShown->ran);
    QCOMPARE(box.text, QStringLiteral("Frame 1 could not be written; the recording has stopped."));
    QCOMPARE(box.detail, path("animate_take.mel") + ": " + std::strerror(ENOSPC));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(caption(), recordingCaption("Stopped recording"));
    QVERIFY(!doc()->session.recording);
    QVERIFY(!isOpenHere(path("animate_take.mel")));
    auto another = whenMessageBox(box);
    stepTo(20);
    QVERIFY(!another->ran);
    QCOMPARE(caption(), recordingCaption("Stopped recording"));
    QVERIFY(record("again"));
  }

  // The window and loomwise-record share one code path: the same cloth, seed, steps and settings
  // give the same scripts, byte for byte.
  void theWindowWritesWhatTheRecorderWrites_data() {
    QTest::addColumn<QStringList>("cloth");  // spacing, width, height as typed
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("patchesU");
    QTest::addColumn<int>("patchesV");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("seed");
    QTest::addColumn<double>("windPressure");
    QTest::newRow("defaults") << QStringList({"0.25", "17", "10"}) << 66 << 5 << 5 << 700 << 7 << 0.0;
    QTest::newRow("odd cloth") << QStringList({"0.3", "13", "7"}) << 9 << 3 << 8 << 300 << 99 << 250.0;
  }
  void theWindowWritesWhatTheRecorderWrites() {
    QFETCH(QStringList, cloth);
    QFETCH(int, skip);
    QFETCH(int, patchesU);
    QFETCH(int, patchesV);
    QFETCH(int, steps);
    QFETCH(int, seed);
    QFETCH(double, windPressure);
    auto clothDialog = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      const int ids[] = {IDC_NODE_SPACING, IDC_CLOTH_WIDTH, IDC_CLOTH_HEIGHT};
      for (int i = 0; i < 3; ++i) d->control<QLineEdit>(ids[i])->setText(cloth[i]);
      QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("&File", "&New\tCtrl+N"));
    QVERIFY(clothDialog->ran);
    doc()->sim.setSeed(static_cast<std::uint32_t>(seed));
    QStringList settings;
    if (windPressure != 0.0) {
      doc()->cloth.parameters.find("windPressure")->value = windPressure;
      settings << "--set" << QStringLiteral("windPressure=%1").arg(windPressure);
    }
    QVERIFY(record("take", typeSettings(skip, patchesU, patchesV)));
    stepTo(steps);
    QVERIFY(stop());
    QCOMPARE(doc()->sim.stepCount(), steps);

    QTemporaryDir headless;
    QProcess recorder;
    recorder.start(LOOMWISE_RECORD_PROGRAM,
                   QStringList({"--steps", QString::number(steps), "--skip", QString::number(skip), "--patches",
                                QStringLiteral("%1,%2").arg(patchesU).arg(patchesV), "--spacing", cloth[0],
                                "--width", cloth[1], "--height", cloth[2], "--seed", QString::number(seed)}) +
                       settings + QStringList(headless.filePath("take")));
    QVERIFY(recorder.waitForFinished());
    QCOMPARE(recorder.exitCode(), 0);
    const QByteArray animation = contentOf(path("animate_take.mel"));
    QCOMPARE(framesIn(path("animate_take.mel")).size(), steps / skip);
    QCOMPARE(animation, contentOf(headless.filePath("animate_take.mel")));
    QCOMPARE(contentOf(path("create_take.mel")), contentOf(headless.filePath("create_take.mel")));
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseDocRecordingTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseDocRecording.moc"
