// The document: the cloth it builds, its panel, and its step with the recording caption.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cmath>

#include "AppTestDriver.h"
#include "app/ClothControlsDialog.h"
#include "app/Resource.h"

class CLoomwiseDocTest : public QObject {
  Q_OBJECT
private slots:
  void cleanup() {
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void constructionBuildsTheDefaultClothAndAHiddenPanel() {
    CLoomwiseDoc doc;
    QCOMPARE(doc.cloth.width, 17);
    QCOMPARE(doc.cloth.height, 10);
    QCOMPARE(doc.cloth.spacing, 0.25);
    QCOMPARE(doc.cloth.placement(0, 3), -2.125);
    QCOMPARE(doc.cloth.placement(1, 3), 1.25);
    QVERIFY(doc.controlsPanel != nullptr);
    QVERIFY(!doc.controlsPanel->isVisible());
    QVERIFY(!doc.controlsVisible);
    QCOMPARE(doc.controlsPanel->parameters, &doc.cloth.parameters);
    QVERIFY(!doc.session.recording);
    QCOMPARE(doc.sim.stepCount(), 0);
    QCOMPARE(doc.session.timeStepSkip, 5);
    QCOMPARE(doc.session.recordedFrames, 0);
    QCOMPARE(doc.session.timeStep, 0.0005);
  }

  // Values typed and then cancelled make no cloth; accepted ones lay the grid out again, the
  // translation computed from the single-precision spacing, hanging or lying flat.
  void newDocumentLaysOutTheDialogsCloth_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("spacing");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false << 17 << 10 << 0.25;
    QTest::newRow("Cancel") << 0 << false << 17 << 10 << 0.25;
    QTest::newRow("OK") << int(Qt::Key_Return) << false << 3 << 3 << double(0.01f);
    QTest::newRow("OK, flat") << int(Qt::Key_Return) << true << 3 << 3 << double(0.01f);
  }
  void newDocumentLaysOutTheDialogsCloth() {
    QFETCH(int, key);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, spacing);
    QFETCH(bool, flat);
    CLoomwiseDoc doc;
    doc.cloth.parameters.find("gravity")->value = -3.0;
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      d->control<QLineEdit>(IDC_NODE_SPACING)->setText("0.01");
      d->control<QLineEdit>(IDC_CLOTH_WIDTH)->setText("3");
      d->control<QLineEdit>(IDC_CLOTH_HEIGHT)->setText("3");
      d->control<QCheckBox>(IDC_LAY_FLAT)->setChecked(flat);
      if (key == 0)
        QTest::mouseClick(d->control<QPushButton>(IDCANCEL), Qt::LeftButton);
      else
        QTest::keyClick(d, Qt::Key(key));
    });
    QCOMPARE(doc.OnNewDocument(), key == Qt::Key_Return);
    QVERIFY(step->ran);
    QCOMPARE(doc.sim.shape().lay, flat ? ClothShape::Lay::Flat : ClothShape::Lay::Hanging);
    QCOMPARE(doc.cloth.width, width);
    QCOMPARE(doc.cloth.height, height);
    QCOMPARE(doc.cloth.spacing, spacing);
    const float s = static_cast<float>(spacing);
    QCOMPARE(doc.cloth.placement(0, 3), width * s * -0.5);
    QCOMPARE(doc.cloth.placement(1, 3), height * s * 0.5);
    if (!flat) QCOMPARE(doc.cloth.placement(1, 1), -1.0);
    const Vec3 first = doc.cloth.positions->at(0), last = doc.cloth.positions->at(doc.cloth.nodeCount() - 1);
    QCOMPARE(first.y == last.y, flat);
    QCOMPARE(doc.cloth.parameters.valueOf("gravity"), -3.0);  // nothing else is reset
  }

  void viewClothControlsTogglesThePanelAndItsCheck() {
    CLoomwiseDoc doc;
    for (bool shown : {true, false, true}) {
      doc.OnViewClothControls();
      QCOMPARE(doc.controlsPanel->isVisible(), shown);
      CommandUi ui(ID_VIEW_CLOTH_CONTROLS);
      doc.OnUpdateViewClothControls(ui);
      QCOMPARE(ui.checked, shown);
      QVERIFY(ui.enabled);
    }
  }

  void advanceFrameCountsStepsAndMovesTheCloth() {
    CLoomwiseDoc doc;
    const double before = doc.cloth.sample(0.5, 1.0)[1];
    for (int i = 0; i < 50; ++i) doc.advanceFrame();
    QCOMPARE(doc.sim.stepCount(), 50);
    QCOMPARE(doc.session.recordedFrames, 0);
    QVERIFY(doc.cloth.sample(0.5, 1.0)[1] < before);  // the free edge sags
  }

  // Reset starts the run over: time and step count at 0, the gusts from their seed, so a reset
  // after a blow-up counts its steps afresh and Reset then Run repeats the first run bit for bit.
  void resetRepeatsTheRunFromStepZero() {
    CLoomwiseDoc doc;
    doc.advance(300);
    const Vector first = doc.cloth.sample(0.3, 0.9);
    doc.cloth.parameters.find("gravity")->value = NAN;
    auto box = whenModal<QMessageBox>([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); });
    doc.advance(5);
    QVERIFY(box->ran);
    doc.cloth.parameters.find("gravity")->value = -9.8;
    doc.OnSimulationReset();
    QCOMPARE(doc.sim.stepCount(), 0);
    QVERIFY(!doc.cloth.diverged);
    doc.advance(300);
    const Vector again = doc.cloth.sample(0.3, 0.9);
    for (int axis = 0; axis < 3; ++axis) QCOMPARE(again[axis], first[axis]);
  }

  // Each document has its own gusts: two alike, stepped in turn, each run as it would alone.
  void documentsSideBySideRunAsEachAlone() {
    CLoomwiseDoc alone;
    alone.sim.setSeed(11);
    alone.advance(400);
    CLoomwiseDoc a, b;
    a.sim.setSeed(11);
    b.sim.setSeed(11);
    for (int i = 0; i < 40; ++i) {
      a.advance(10);
      b.advance(10);
    }
    for (CLoomwiseDoc* doc : {&a, &b})
      for (int k = 0; k < alone.cloth.nodeCount(); ++k)
        QCOMPARE(doc->cloth.positions->at(k).z, alone.cloth.positions->at(k).z);
  }

  void pinPresetsAreCheckedAsChosen() {
    CLoomwiseDoc doc;
    doc.OnPins(PinSet::Preset::TopCorners);
    CommandUi corners(ID_PINS_TOP_CORNERS), standard(ID_PINS_DEFAULT);
    doc.OnUpdatePins(corners, PinSet::Preset::TopCorners);
    doc.OnUpdatePins(standard, PinSet::Preset::Standard);
    QVERIFY(corners.checked && !standard.checked);
    doc.advance(100);
    QVERIFY(doc.sim.isPinned(16) && !doc.sim.isPinned(8));
    QVERIFY(doc.cloth.positions->at(8).y < doc.cloth.restPositions->at(8).y);
  }

  // Each cloth keeps its own solver, explicit until chosen; with XPBD the panel's blow-up ends hold.
  void solverIsChosenPerCloth() {
    CLoomwiseDoc a, b;
    a.OnSolver(Solver::Xpbd);
    CommandUi explicitItem(ID_SOLVER_EXPLICIT), xpbdItem(ID_SOLVER_XPBD);
    a.OnUpdateSolver(xpbdItem, Solver::Xpbd);
    b.OnUpdateSolver(explicitItem, Solver::Explicit);
    QVERIFY(xpbdItem.checked && explicitItem.checked);
    QCOMPARE(a.sim.solver(), Solver::Xpbd);
    QCOMPARE(b.sim.solver(), Solver::Explicit);
    a.cloth.parameters.find("density")->value = 0.05;
    a.cloth.parameters.find("kStretch")->value = 16000.0;
    a.controlsPanel->refresh();
    QVERIFY(a.controlsPanel->stabilityWarning->isHidden());  // it names XPBD as the way out
    a.advance(2000);
    QVERIFY(!a.cloth.diverged);
    a.OnSolver(Solver::Explicit);
    QVERIFY(!a.controlsPanel->stabilityWarning->isHidden());
  }

  // While recording with a skip of 5, steps 5, 10, … record a frame and say so in the caption;
  // without recording the caption is left alone.
  void recordedFramesShowInTheMainWindowCaption() {
    AppTestDriver run;
    QVERIFY(run.start({run.file("doc")}));
    CLoomwiseDoc* doc = run.activeDocument();
    for (int i = 0; i < 7; ++i) doc->advanceFrame();
    QCOMPARE(run.frame().windowTitle(), QStringLiteral("Loomwise - doc"));
    QCOMPARE(doc->session.start(run.files.filePath("take").toStdString(), 5, 5, 5), 0);
    QStringList captions;
    for (int i = 0; i < 8; ++i) {
      doc->advanceFrame();
      captions << run.frame().windowTitle();
    }
    QCOMPARE(captions.mid(0, 2), QStringList(2, "Loomwise - doc"));  // steps 8 and 9
    QCOMPARE(captions[2], QStringLiteral("Loomwise - doc - Recording frame: 1"));     // step 10
    QCOMPARE(captions[6], QStringLiteral("Loomwise - doc - Recording frame: 1"));
    QCOMPARE(captions[7], QStringLiteral("Loomwise - doc - Recording frame: 2"));     // step 15
    QCOMPARE(doc->session.recordedFrames, 2);
    doc->session.stop();
    QVERIFY(QFileInfo(run.files.filePath("animate_take.mel")).size() > 0);
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseDocTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseDoc.moc"
