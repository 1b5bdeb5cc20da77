// The soak run (make soak, not among the tests): eight cloths record every format at once for
// LOOMWISE_SOAK_SECONDS (300 by default), running as the window runs them; then every file must
// hold every frame its session recorded, and the caches must open in their readers and, where
// installed, in assimp and the Khronos glTF validator.
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>

#include "AppTestDriver.h"
#include "CacheReaders.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"

namespace {

constexpr int kDocuments = 8;

int framesInScript(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return QString::fromLatin1(file.readAll()).count(QStringLiteral("currentTime "));
}

int shell(const QString& command) { return std::system(command.toLocal8Bit().constData()); }

}  // namespace

class SoakRecording : public QObject {
  Q_OBJECT
private slots:
  void eightClothsRecordEveryFormatWithoutLosingAFrame() {
    const int seconds = qEnvironmentVariableIsSet("LOOMWISE_SOAK_SECONDS") ? qEnvironmentVariableIntValue("LOOMWISE_SOAK_SECONDS") : 300;
    AppTestDriver run;
    QVERIFY(run.start());
    for (int k = 1; k < kDocuments; ++k) QVERIFY(run.newDocument());
    auto unexpected = whenModal<QMessageBox>([](QMessageBox* box) { box->done(QMessageBox::Ok); });
    QString target;
    run.app->setFileChooser([&](QWidget*, FileDialogKind, const QString&) { return target; });
    const std::vector<CLoomwiseDoc*> docs = run.documents();
    for (std::size_t k = 0; k < docs.size(); ++k) {
      target = run.files.filePath(QStringLiteral("cloth%1").arg(k + 1));
      auto settings = whenModal<RecordingSettingsDialog>([](RecordingSettingsDialog* d) {
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_FIRST + 4; ++id) d->control<QCheckBox>(id)->setChecked(true);
        QTest::keyClick(d, Qt::Key_Return);
      });
      docs[k]->OnFileSave();
      QVERIFY(settings->ran);
      QVERIFY(docs[k]->session.recording);
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000LL) QTest::qWait(1000);
    for (CLoomwiseDoc* doc : docs) doc->OnFileSave();
    QVERIFY2(!unexpected->ran, "a message box came up during the recording");

    for (std::size_t k = 0; k < docs.size(); ++k) {
      const int frames = docs[k]->session.recordedFrames;
      const QString base = run.files.filePath(QStringLiteral("cloth%1").arg(k + 1));
      const std::string name = base.toStdString();
      qInfo("cloth%zu: %d frames in %d steps", k + 1, frames, int(docs[k]->sim.stepCount()));
      QVERIFY(frames > 0);
      QCOMPARE(framesInScript(run.files.filePath(QStringLiteral("animate_cloth%1.mel").arg(k + 1))), frames);
      QCOMPARE(cachereaders::readPc2(name + ".pc2").frames.size(), std::size_t(frames));
      QCOMPARE(cachereaders::readMdd(name + ".mdd").frames.size(), std::size_t(frames));
      QCOMPARE(cachereaders::readGlb(name + ".glb").targets.size(), std::size_t(frames));
      QCOMPARE(QDir(run.files.path()).entryList({QStringLiteral("cloth%1.*.obj").arg(k + 1)}).size(), frames);
      if (shell("command -v assimp >/dev/null") == 0)
        QCOMPARE(shell(QStringLiteral("assimp info %1.glb >/dev/null").arg(base)), 0);
      const QString validator = QStringLiteral(LOOMWISE_GLTF_VALIDATOR "/validate.js");
      if (QFile::exists(QStringLiteral(LOOMWISE_GLTF_VALIDATOR "/node_modules/gltf-validator")))
        QCOMPARE(shell(QStringLiteral("node %1 %2.glb | grep -q '0 errors, 0 warnings'").arg(validator, base)), 0);
    }
  }
};

QTEST_MAIN(SoakRecording)
#include "soak_Recording.moc"
