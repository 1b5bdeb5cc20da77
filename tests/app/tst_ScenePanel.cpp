// The scene of a cloth in the window: colliders added from the Scene menu, edited and removed in
// the Scene panel, drawn in the view, and acting on the running cloth.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "AppTestDriver.h"
#include "app/Resource.h"
#include "app/ScenePanel.h"

class ScenePanelTest : public QObject {
  Q_OBJECT
private slots:
  void init() {
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start());
    doc = run->activeDocument();
  }
  void cleanup() {
    run.reset();
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // A sphere added under the hanging cloth shows in the panel and the view, and the cloth let go
  // onto it never passes into it.
  void anAddedSphereIsListedDrawnAndKeptOut() {
    const int clothAlone = colouredPixels(run->activeView()->grabFramebuffer());
    QVERIFY(run->chooseMenu("S&cene", "Add &Sphere"));
    const auto& colliders = doc->sim.colliders().colliders();
    QCOMPARE(colliders.size(), std::size_t(1));
    QTRY_VERIFY(doc->scenePanel->isVisible());
    CommandUi check(ID_VIEW_SCENE_PANEL);
    doc->OnUpdateViewScenePanel(check);
    QVERIFY(check.checked);
    QCOMPARE(doc->scenePanel->list->count(), 1);
    QCOMPARE(doc->scenePanel->editor->text().toStdString(), formatCollider(colliders[0]));
    QVERIFY(colouredPixels(run->activeView()->grabFramebuffer()) > clothAlone + 1000);

    const Sphere sphere = std::get<Sphere>(colliders[0]);
    doc->OnPins(PinSet::Preset::None);
    for (int chunk = 0; chunk < 40; ++chunk) {
      doc->advance(100);
      for (int k = 0; k < doc->cloth.nodeCount(); ++k)
        QVERIFY(norm(doc->cloth.positions->at(k) - sphere.centre) > sphere.radius);
    }
  }

  // A typed text that is no collider changes nothing and says why; a good one replaces the
  // collider; Remove takes it away. Thickness, friction and self-collision act on the scene at once.
  void thePanelEditsTheScene() {
    doc->OnAddCollider(CLoomwiseDoc::Shape::Box);
    ScenePanel& panel = *doc->scenePanel;
    const std::string before = formatCollider(doc->sim.colliders().colliders()[0]);
    panel.editor->setText("box:1,1,1,0,0,0");
    QTest::keyClick(panel.editor, Qt::Key_Return);
    QVERIFY(panel.problem->isVisible());
    QVERIFY(panel.problem->text().contains("first corner"));
    QCOMPARE(formatCollider(doc->sim.colliders().colliders()[0]), before);
    panel.editor->setText("sphere:0,-3,0,0.5");
    QTest::mouseClick(panel.applyButton, Qt::LeftButton);
    QVERIFY(!panel.problem->isVisible());
    QCOMPARE(formatCollider(doc->sim.colliders().colliders()[0]), std::string("sphere:0,-3,0,0.5"));
    QCOMPARE(panel.list->item(0)->text(), QStringLiteral("1  sphere:0,-3,0,0.5"));
    panel.thickness->setValue(0.05);
    panel.friction->setValue(1.25);
    QCOMPARE(doc->sim.colliders().thickness(), 0.05);
    QCOMPARE(doc->sim.colliders().friction(), 1.25);
    QVERIFY(doc->sim.selfCollision() == nullptr);
    panel.selfCollision->click();
    QVERIFY(doc->sim.selfCollision() != nullptr);
    QCOMPARE(doc->sim.selfCollision()->thickness(), 0.05);
    panel.thickness->setValue(0.04);
    QCOMPARE(doc->sim.selfCollision()->thickness(), 0.04);
    QTest::mouseClick(panel.removeButton, Qt::LeftButton);
    QVERIFY(doc->sim.colliders().colliders().empty());
    QVERIFY(!panel.editor->isEnabled());
  }

  // A mesh file becomes a collider as it stands; a file that is no mesh is refused with the reason.
  void importReadsAMeshOrSaysWhyNot() {
    const QString cube = run->file("cube.obj",
                                   "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                                   "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n");
    const QString notes = run->file("notes.txt", "a shopping list\n");
    QString chosen;
    run->app->setFileChooser([&](QWidget*, FileDialogKind, const QString&) { return chosen; });
    chosen = notes;
    QString reason;
    auto box = whenModal<QMessageBox>([&](QMessageBox* b) {
      reason = b->informativeText();
      QTest::keyClick(b, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("S&cene", "&Import Collider Mesh..."));
    QTRY_VERIFY(box->ran);
    QVERIFY(reason.contains("not a mesh file"));
    QVERIFY(doc->sim.colliders().colliders().empty());
    chosen = cube;
    QVERIFY(run->chooseMenu("S&cene", "&Import Collider Mesh..."));
    QTRY_COMPARE(doc->sim.colliders().colliders().size(), std::size_t(1));
    QCOMPARE(std::get<MeshShape>(doc->sim.colliders().colliders()[0]).mesh->triangles().size(), std::size_t(12));
  }

private:
  // Pixels of the colliders' blue, lit or not: bluer than they are red or green.
  static int colouredPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        count += c.blue() > c.red() + 20 && c.blue() > c.green() + 10;
      }
    return count;
  }

  std::unique_ptr<AppTestDriver> run;
  CLoomwiseDoc* doc = nullptr;
};

QTEST_MAIN(ScenePanelTest)
#include "tst_ScenePanel.moc"
