// Scene files in the window: File > Save As writes the whole scene, File > Open reads it back,
// and the recorder bakes it into the frames the window records.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>

#include "AppTestDriver.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"
#include "app/ScenePanel.h"
#include "cloth/ClothParameters.h"
#include "record/SceneFile.h"

namespace {

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("cannot read " + path.toLatin1());
}

// A closed tetrahedron, as a mesh collider's file.
constexpr const char* kTetrahedron = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n";

}  // namespace

class CLoomwiseDocSceneTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppTestDriver> run;
  QString fileAnswer;

  QString path(const QString& name) const { return run->files.filePath(name); }
  CLoomwiseDoc* doc() const { return run->activeDocument(); }

  bool saveAs(const QString& file) {
    fileAnswer = file;
    return run->chooseMenu("&File", "Save &As...");
  }
  CLoomwiseDoc* open(const QString& file) {
    fileAnswer = file;
    const std::size_t before = run->documents().size();
    return run->chooseMenu("&File", "&Open...\tCtrl+O") && run->documents().size() == before + 1 ? doc() : nullptr;
  }
  // Ctrl+S with the settings dialog answered by `settings`.
  bool toggleRecording(const QString& file, const std::function<void(RecordingSettingsDialog*)>& settings) {
    fileAnswer = file;
    auto step = whenModal<RecordingSettingsDialog>(settings);
    if (!showActive(run->frame())) return false;
    QTest::keyClick(&run->frame(), Qt::Key_S, Qt::ControlModifier);
    doc()->runTimer.stop();  // only the test takes steps
    return file.isEmpty() || step->ran;
  }

private slots:
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start());
    run->app->setFileChooser([this](QWidget*, FileDialogKind, const QString&) { return fileAnswer; });
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // Every field away from its default goes out and comes back: the scene opened from the file
  // saves again byte for byte, and its panels show it.
  void saveAsThenOpenGivesTheSameScene() {
    QVERIFY(QDir(run->files.path()).mkdir("meshes"));
    run->file("meshes/tetra.obj", kTetrahedron);
    Simulation& sim = doc()->sim;
    sim.setSeed(4000000000u);
    sim.layOut({0.3f, 13, 7, ClothShape::Lay::Flat});
    sim.togglePin(5);
    sim.togglePin(20);
    for (const ClothParameter& p : kClothParameters) doc()->cloth.parameters.find(p.name)->value = p.value / 3 + 0.125;
    sim.setSolver(Solver::Xpbd);
    std::vector<Collider> colliders(2);
    QCOMPARE(parseCollider("sphere:0.1,-2,0.3,0.7", colliders[0]), std::string());
    QCOMPARE(parseCollider("mesh:" + path("meshes/tetra.obj").toStdString(), colliders[1]), std::string());
    sim.colliders().setColliders(colliders);
    sim.colliders().setThickness(0.035);
    sim.colliders().setFriction(1.25);
    sim.setSelfCollision(true, 0.035, 1.25);
    doc()->recordingSettings = {1234, 9, 3, 8, {RecordingFormat::glb, RecordingFormat::pc2}};

    QVERIFY(saveAs(path("scene.json")));
    QCOMPARE(doc()->pathName(), path("scene.json"));
    QVERIFY(QFile::copy(path("scene.json"), path("copy.json")));
    CLoomwiseDoc* opened = open(path("copy.json"));
    QVERIFY(opened != nullptr);
    QCOMPARE(opened->sim.stepCount(), 0);
    QCOMPARE(opened->scenePanel->thickness->value(), 0.035);
    QVERIFY(opened->scenePanel->selfCollision->isChecked());
    QVERIFY(saveAs(path("again.json")));
    QCOMPARE(contentOf(path("again.json")), contentOf(path("scene.json")));
  }

  // The recorder given the scene file writes the frames the window records for it, byte for
  // byte, and the Recording Settings dialog offers the scene's settings.
  void theRecorderBakesWhatTheWindowRecords() {
    SceneDescription scene;
    scene.shape = {0.2f, 12, 9, ClothShape::Lay::Flat};
    scene.pins = PinSet(PinSet::Preset::TopCorners);
    scene.setParameter("windPressure", 150.0);
    scene.solver = Solver::Xpbd;
    scene.colliders.resize(1);
    QCOMPARE(parseCollider("sphere:0,-0.6,0,0.5", scene.colliders[0]), std::string());
    scene.selfCollision = true;
    scene.seed = 31;
    scene.recording = {240, 20, 4, 3, {RecordingFormat::pc2, RecordingFormat::mel}};
    QCOMPARE(scenefile::save(scene, path("drape.json").toStdString()), std::string());
    QVERIFY(open(path("drape.json")) != nullptr);

    QStringList offered;
    QVERIFY(toggleRecording(path("take"), [&offered](RecordingSettingsDialog* d) {
      for (int id : {IDC_TIME_STEP_SKIP, IDC_PATCHES_U, IDC_PATCHES_V}) offered << d->control<QLineEdit>(id)->text();
      for (int i = 0; i < 5; ++i)
        if (d->control<QCheckBox>(IDC_FORMAT_FIRST + i)->isChecked()) offered << QString::number(i);
      QTest::keyClick(d, Qt::Key_Return);
    }));
    QCOMPARE(offered, QStringList({"20", "4", "3", "0", "1"}));
    while (doc()->sim.stepCount() < scene.recording.steps) doc()->advanceFrame();
    QVERIFY(toggleRecording({}, nullptr));
    QVERIFY(!doc()->session.recording);

    QTemporaryDir headless;
    QProcess recorder;
    recorder.start(LOOMWISE_RECORD_PROGRAM, {"--scene", path("drape.json"), headless.filePath("take")});
    QVERIFY(recorder.waitForFinished());
    QCOMPARE(recorder.exitCode(), 0);
    QCOMPARE(contentOf(path("take.pc2")), contentOf(headless.filePath("take.pc2")));
    QCOMPARE(contentOf(path("animate_take.mel")), contentOf(headless.filePath("animate_take.mel")));
  }

  // A scene file that cannot be used opens nothing and says why in one line.
  void aBrokenSceneIsRefusedWithItsReason() {
    const QString broken = run->file("broken.json", R"({"format": "loomwise-scene", "version": 1, "cloth": {}})");
    QString text;
    auto box = whenModal<QMessageBox>([&text](QMessageBox* b) {
      text = b->text();
      QTest::keyClick(b, Qt::Key_Return);
    });
    QVERIFY(open(broken) == nullptr);
    QTRY_VERIFY(box->ran);
    QCOMPARE(text, broken + ": missing field 'pins'");
    QCOMPARE(run->documents().size(), std::size_t{1});
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseDocSceneTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseDocScene.moc"
