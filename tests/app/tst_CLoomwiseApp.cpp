// The whole program worked as a user would: start-up, menus, toolbar, documents and windows,
// the panel, the caption, the status bar, files and printing.
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QWindow>

#include "AppTestDriver.h"
#include "LoomwiseVersion.h"
#include "app/AboutDialog.h"
#include "app/CMainFrame.h"
#include "app/PacePane.h"
#include "app/ClothControlsDialog.h"
#include "app/ScenePanel.h"
#include "view/NodePicker.h"
#include "app/Resource.h"
#include "toolkit/RecentFileList.h"
#include "view/SimulationTimer.h"

namespace {

QStringList itemTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

QStringList menuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  return titles;
}

}  // namespace

class CLoomwiseAppTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppTestDriver> run;

  // The program's Real Time setting, as every cloth's timer follows it.
  bool realTime() const { return static_cast<const CMainFrame&>(run->frame()).realTime; }

private slots:
  void init() {
    QSettings().clear();
    run = std::make_unique<AppTestDriver>();
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // The first document's dialog comes before the main window is shown, however it is closed;
  // closed with Escape it leaves the window without a cloth.
  void startUpAsksForTheClothFirst_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("OK") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
  }
  void startUpAsksForTheClothFirst() {
    QFETCH(int, key);
    bool frameShownDuringDialog = true;
    run->app = std::make_unique<CLoomwiseApp>(QStringList());
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      frameShownDuringDialog = run->app->mainWindow()->isVisible();
      d->control<QLineEdit>(IDC_CLOTH_WIDTH)->setText("5");
      d->control<QLineEdit>(IDC_CLOTH_HEIGHT)->setText("4");
      QTest::keyClick(d, Qt::Key(key));
    });
    QVERIFY(run->app->InitInstance());
    QVERIFY(step->ran);
    QVERIFY(!frameShownDuringDialog);
    QVERIFY(run->frame().isVisible());
    if (key == Qt::Key_Escape) {
      QVERIFY(run->documents().empty());
      QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise"));
      return;
    }
    QCOMPARE(run->area().subWindowList().size(), 1);
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi1"));
    QCOMPARE(run->documents().front()->cloth.width, 5);
    QCOMPARE(run->documents().front()->cloth.height, 4);
  }

  void aFileOnTheCommandLineOpensTheDefaultClothWithoutDialog() {
    const QString path = run->file("flag.txt");
    auto dialog = whenModal<QDialog>([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QVERIFY(run->start({path}));
    QVERIFY(!dialog->ran);
    QCOMPARE(run->documents().size(), std::size_t{1});
    const CLoomwiseDoc* doc = run->documents().front();
    QCOMPARE(doc->cloth.width, 17);
    QCOMPARE(doc->cloth.height, 10);
    QCOMPARE(doc->cloth.spacing, 0.25);
    QCOMPARE(doc->cloth.placement(0, 3), -2.125);
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - flag.txt"));
    QCOMPARE(run->app->recentFiles()->files(), QStringList({path}));
  }

  void aMissingFileOnTheCommandLineEndsStartUp() {
    run->app = std::make_unique<CLoomwiseApp>(QStringList({run->files.filePath("missing")}));
    QString message;
    auto box = whenModal<QMessageBox>([&](QMessageBox* b) {
      message = b->text();
      QTest::keyClick(b, Qt::Key_Return);
    });
    QVERIFY(!run->app->InitInstance());
    QVERIFY(box->ran);
    QVERIFY(message.contains("missing"));
    QVERIFY(run->documents().empty());
  }

  void theMenusFollowWhetherADocumentIsOpen() {
    QVERIFY(run->start());
    QMenuBar* bar = run->frame().menuBar();
    QCOMPARE(menuTitles(bar), QStringList({"&File", "&Edit", "&View", "&Simulation", "S&cene", "&Window", "&Help"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 0)),
             QStringList({"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...",
                          "&Export Image...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "Recent File",
                          "Recent File", "Recent File", "Recent File", "Recent File", "Recent File",
                          "Recent File", "Recent File", "-", "E&xit"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 1)), QStringList({"&Undo\tCtrl+Z", "&Redo\tCtrl+Shift+Z"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 2)),
             QStringList({"&Toolbar", "&Status Bar", "T&imeline", "&Cloth Controls", "Sc&ene Panel", "-", "&Front\tNum+1",
                          "S&ide\tNum+3", "To&p\tNum+7", "&Reset Camera\tHome", "Frame the Clot&h\tF", "-",
                          "&Wireframe", "Show &Nodes", "Show P&ins", "Floor &Grid", "Cloth C&olour..."}));
    QCOMPARE(itemTexts(run->frame().menu(true, 3)),
             QStringList({"&Run\tCtrl+R", "Real &Time\tCtrl+T", "Step &Frame", "-", "&Pins", "&Solver", "Presets",
                          "-", "R&eset\tCtrl+Shift+R"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 3)->actions()[4]->menu()),
             QStringList({"&Default", "&Top Edge", "Top &Corners", "&Left Edge", "&None"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 3)->actions()[5]->menu()), QStringList({"&Explicit", "&XPBD"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 3)->actions()[6]->menu()).mid(0, 7),
             QStringList({"Flag", "Cotton", "Silk", "Denim", "Leather", "Rubber", "-"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 4)), QStringList({"Add &Ground Plane", "Add &Sphere", "Add &Box", "-",
                                                                  "&Import Collider Mesh..."}));
    QCOMPARE(itemTexts(run->frame().menu(true, 5)),
             QStringList({"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}));
    QCOMPARE(itemTexts(run->frame().menu(true, 6)), QStringList({"&About Loomwise..."}));
    QVERIFY(run->chooseMenu("&File", "&Close"));
    QTRY_COMPARE(menuTitles(bar), QStringList({"&File", "&View", "&Help"}));
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise"));
    QCOMPARE(itemTexts(run->frame().menu(false, 1)), QStringList({"&Toolbar", "&Status Bar", "T&imeline"}));
    // With no recent file the first slot is the greyed placeholder and the others are hidden.
    QAction* recent = run->action(ID_FILE_MRU_FILE1);
    QVERIFY(recent->isVisible() && !recent->isEnabled());
    QVERIFY(!run->action(ID_FILE_MRU_FILE1 + 1)->isVisible());
  }

  // There is nothing to edit yet: no Edit menu, no greyed clipboard buttons, no keys that do nothing.
  void nothingOffersEditingThatDoesNothing() {
    QVERIFY(run->start());
    for (QMenu* menu : run->frame().menuBar()->findChildren<QMenu*>()) QVERIFY(menu->title() != QStringLiteral("&Edit"));
    for (QAction* action : run->frame().findChildren<QAction*>())
      if (action->isVisible() && !action->isSeparator() && !action->menu())
        QVERIFY2(action->shortcut() != QKeySequence(Qt::CTRL | Qt::Key_X), qPrintable(action->text()));
    QVERIFY(run->action(ID_FILE_NEW)->isEnabled());
    QVERIFY(run->action(ID_RUN)->isEnabled());
  }

  void theToolbarCarriesItsButtonsInOrder() {
    QVERIFY(run->start());
    QToolBar* bar = qobject_cast<QToolBar*>(run->button(ID_FILE_NEW)->parentWidget());
    QStringList order;
    for (QAction* a : bar->actions()) order << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    QCOMPARE(order,
             QStringList({"New", "Open", "Save", "|", "Print", "|", "About", "Run", "Reset"}));
    QCOMPARE(run->action(ID_RUN), bar->actions().at(bar->actions().size() - 2));
    QCOMPARE(run->action(ID_SIMULATION_RESET), bar->actions().last());
    QVERIFY(!run->button(ID_RUN)->icon().isNull());
    QVERIFY(!run->button(ID_SIMULATION_RESET)->icon().isNull());
    // The second band holds the dialog bar's hint, and leaves Run and Reset in view, not behind the
    // toolbar's overflow arrow, at the window's first size.
    QLabel* label = nullptr;
    for (QLabel* l : run->frame().findChildren<QLabel*>())
      if (l->text() == QStringLiteral("Drag a node to pull it, Ctrl+click to pin it")) label = l;
    QVERIFY(label != nullptr && label->isVisible());
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QVERIFY(qobject_cast<QToolBar*>(label->parentWidget()->parentWidget()) != bar);
    QTRY_VERIFY(run->button(ID_RUN)->isVisible() && run->button(ID_SIMULATION_RESET)->isVisible());
  }

  void runStartsAndStopsTheActiveViewAndIsCheckedWhileRunning() {
    QVERIFY(run->start());
    CLoomwiseDoc* doc = run->activeDocument();
    run->clickButton(ID_RUN);
    QVERIFY(run->activeView()->timerId() != 0);
    QVERIFY(run->button(ID_RUN)->isChecked());
    QTRY_VERIFY(doc->sim.stepCount() >= 5);
    run->clickButton(ID_RUN);
    QCOMPARE(run->activeView()->timerId(), 0u);
    QVERIFY(!run->button(ID_RUN)->isChecked());
    const int stopped = doc->sim.stepCount();
    QCOMPARE(run->activeDocument()->sim.stepCount(), stopped);
  }

  // Run, panel and check marks belong to the active document; the other keeps its own state.
  void commandsActOnTheActiveDocumentOnly() {
    QVERIFY(run->start());
    CLoomwiseDoc* first = run->activeDocument();
    QVERIFY(run->newDocument());
    CLoomwiseDoc* second = run->activeDocument();
    QVERIFY(first != second);
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi2"));

    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(second->controlsPanel->isVisible());
    QVERIFY(!first->controlsPanel->isVisible());
    QTRY_VERIFY(run->action(ID_VIEW_CLOTH_CONTROLS)->isChecked());

    run->clickButton(ID_RUN);
    QTRY_VERIFY(second->sim.stepCount() >= 5);
    QCOMPARE(first->sim.stepCount(), 0);

    // Back to the first window: its panel is hidden, so no check mark; Run is not checked.
    run->area().setActiveSubWindow(run->area().subWindowList().first());
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi1"));
    QVERIFY(!run->action(ID_VIEW_CLOTH_CONTROLS)->isChecked());
    QVERIFY(!run->button(ID_RUN)->isChecked());
    run->clickButton(ID_RUN);
    QTRY_VERIFY(first->sim.stepCount() >= 5);

    // Each panel edits only its own cloth.
    QSlider* slider = second->controlsPanel->findChild<QSlider*>(QStringLiteral("control1001"));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(second->cloth.parameters.valueOf("cDamping"), 5.0);
    QCOMPARE(first->cloth.parameters.valueOf("cDamping"), 0.15);

    run->area().setActiveSubWindow(run->area().subWindowList().last());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(!second->controlsPanel->isVisible());
    QTRY_VERIFY(!run->action(ID_VIEW_CLOTH_CONTROLS)->isChecked());
  }

  void newWindowAddsAViewAndTheDocumentDiesWithItsLast() {
    QVERIFY(run->start());
    CLoomwiseDoc* doc = run->activeDocument();
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(run->chooseMenu("&Window", "&New Window"));
    QCOMPARE(run->area().subWindowList().size(), 2);
    QCOMPARE(doc->views().size(), std::size_t{2});
    QCOMPARE(run->area().subWindowList()[0]->windowTitle(), QStringLiteral("Loomwi1:1"));
    QCOMPARE(run->area().subWindowList()[1]->windowTitle(), QStringLiteral("Loomwi1:2"));
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi1"));
    QCOMPARE(run->activeDocument(), doc);

    run->activeView()->frame()->close();
    QCOMPARE(run->documents().size(), std::size_t{1});
    QTRY_COMPARE(run->area().subWindowList().size(), 1);
    QCOMPARE(run->area().subWindowList()[0]->windowTitle(), QStringLiteral("Loomwi1"));
    QVERIFY(doc->controlsPanel->isVisible());

    QVERIFY(run->chooseMenu("&File", "&Close"));
    QVERIFY(run->documents().empty());
    QTRY_COMPARE(run->area().subWindowList().size(), 0);
  }

  // The cloth runs in its document: closing the window that started Run leaves it running in the
  // other, whose Run stays checked; the document and its timer go with the last window.
  void closingTheViewThatStartedRunKeepsTheClothRunning() {
    QVERIFY(run->start());
    run->clickButton(ID_RUN);
    QVERIFY(run->chooseMenu("&Window", "&New Window"));
    CLoomwiseDoc* doc = run->activeDocument();
    QPointer<CLoomwiseView> starting = dynamic_cast<CLoomwiseView*>(doc->views().front());
    starting->frame()->close();
    QTRY_VERIFY(starting.isNull());
    const std::int64_t steps = doc->sim.stepCount();
    QTRY_VERIFY(doc->sim.stepCount() >= steps + 20);
    QVERIFY(run->action(ID_RUN)->isChecked());
    run->activeView()->frame()->close();
    QTRY_VERIFY(run->documents().empty());
  }

  void tileAndCascadeArrangeTheWindows() {
    QVERIFY(run->start());
    QVERIFY(run->newDocument());
    QVERIFY(run->chooseMenu("&Window", "&Tile"));
    const QList<QMdiSubWindow*> windows = run->area().subWindowList();
    QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
    QVERIFY(run->chooseMenu("&Window", "&Cascade"));
    QVERIFY(windows[0]->geometry().intersects(windows[1]->geometry()));
    QVERIFY(windows[0]->pos() != windows[1]->pos());
    windows[0]->showMinimized();
    windows[1]->showMinimized();
    QVERIFY(run->chooseMenu("&Window", "&Arrange Icons"));
    const int bottom = run->area().viewport()->height();
    QCOMPARE(windows[0]->geometry().bottom() + 1, bottom);
    QCOMPARE(windows[1]->geometry().bottom() + 1, bottom);
    QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
  }

  void theAcceleratorsReachTheirCommands() {
    QVERIFY(run->start());
    auto step = whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    QTest::keyClick(&run->frame(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(step->ran);
    QCOMPARE(run->documents().size(), std::size_t{2});
    QCOMPARE(run->activeDocument()->cloth.width, 17);
    QCOMPARE(run->action(ID_RUN)->shortcuts(), QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_R)}));
  }

  // The panel is a window of its own; the program's shortcuts must still work while it has focus.
  void theAcceleratorsWorkFromThePanel() {
    QVERIFY(run->start());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QWidget* panel = run->activeDocument()->controlsPanel.get();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));
    auto step = whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    QTest::keyClick(panel->findChild<QSlider*>(QStringLiteral("control1001")), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(step->ran);
    QCOMPARE(run->documents().size(), std::size_t{2});
  }

  // A keyboard-only user can run the simulation: Simulation > Run and Ctrl+R, checked while running.
  void runHasAMenuItemAndAShortcut_data() {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("Simulation > Run") << true;
    QTest::newRow("Ctrl+R") << false;
  }
  void runHasAMenuItemAndAShortcut() {
    QFETCH(bool, byMenu);
    QVERIFY(run->start());
    const auto chooseRun = [&] {
      if (byMenu) return run->chooseMenu("&Simulation", "&Run\tCtrl+R");
      QTest::keyClick(&run->frame(), Qt::Key_R, Qt::ControlModifier);
      return true;
    };
    QVERIFY(chooseRun());
    QVERIFY(run->activeView()->timerId() != 0);
    QTRY_VERIFY(run->action(ID_RUN)->isChecked());
    QVERIFY(run->button(ID_RUN)->isChecked());
    // The status bar tells the running cloth's time and pace.
    auto* main = dynamic_cast<CMainFrame*>(&run->frame());
    QCOMPARE(main->pacePane->parentWidget(), run->frame().statusBar());
    QTRY_VERIFY(main->pacePane->text().contains(QChar(0x00D7)));
    QVERIFY(chooseRun());
    QCOMPARE(run->activeView()->timerId(), 0u);
    QTRY_VERIFY(!run->action(ID_RUN)->isChecked());
  }

  // The settings live under the program's own name; those of the wizard's old name move over once.
  void settingsMoveFromTheOldOrganisationOnce() {
    QSettings("Local AppWizard-Generated Applications", "Loomwise").setValue("View/realTime", true);
    QVERIFY(run->start());
    QCOMPARE(QSettings("Loomwise", "Loomwise").value("View/realTime"), QVariant(true));
    QVERIFY(QSettings("Local AppWizard-Generated Applications", "Loomwise").allKeys().isEmpty());
    QVERIFY(realTime());
  }

  // Real Time is one setting for the program, kept between runs under View/realTime.
  void realTimeIsRememberedBetweenRuns() {
    QVERIFY(run->start());
    QVERIFY(!realTime());
    QTest::keyClick(&run->frame(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(realTime());
    QVERIFY(run->activeDocument()->runTimer.realTime());  // every cloth's timer follows it
    QTRY_VERIFY(run->action(ID_VIEW_REAL_TIME)->isChecked());
    QCOMPARE(QSettings().value("View/realTime"), QVariant(true));
    run.reset();
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start());
    QVERIFY(realTime());
    QVERIFY(run->chooseMenu("&Simulation", "Real &Time\tCtrl+T"));
    QVERIFY(!realTime());
    QCOMPARE(QSettings().value("View/realTime"), QVariant(false));
  }

  // With eight cloths open every window is one menu item away: numbered, the active one checked.
  void theWindowMenuListsTheOpenWindows() {
    QVERIFY(run->start());
    QVERIFY(run->newDocument());
    QVERIFY(run->chooseMenu("&Window", "&New Window"));
    QMenu* menu = run->frame().menu(true, 5);
    emit menu->aboutToShow();
    QStringList listed;
    for (QAction* a : menu->actions().mid(4))
      listed << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isChecked() ? " *" : ""));
    QCOMPARE(listed, QStringList({"-", "&1 Loomwi1", "&2 Loomwi2:1", "&3 Loomwi2:2 *"}));
    QVERIFY(run->chooseMenu("&Window", "&1 Loomwi1"));
    QCOMPARE(run->activeDocument()->title(), QStringLiteral("Loomwi1"));
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi1"));
    // Listed afresh each time: a closed window drops out.
    QVERIFY(run->chooseMenu("&File", "&Close"));
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 4 + 3);
  }

  // The panel belongs to the main window (above it, minimised with it) and names its document.
  void thePanelIsAToolWindowNamingItsDocument() {
    QVERIFY(run->start());
    QVERIFY(run->newDocument());
    const std::vector<CLoomwiseDoc*> docs = run->documents();
    QStringList captions;
    for (CLoomwiseDoc* doc : docs) {
      ClothControlsDialog* panel = doc->controlsPanel.get();
      QCOMPARE(panel->windowType(), Qt::Tool);
      QCOMPARE(panel->parentWidget(), &run->frame());
      captions << panel->windowTitle();
    }
    captions.sort();
    QCOMPARE(captions, QStringList({"Cloth Controls - Loomwi1", "Cloth Controls - Loomwi2"}));
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QWidget* panel = run->activeDocument()->controlsPanel.get();
    QVERIFY(panel->isVisible());
    // Transient for the main window: the window manager keeps it above and minimises it with it.
    QVERIFY(panel->windowHandle() != nullptr);
    QCOMPARE(panel->windowHandle()->transientParent(), run->frame().windowHandle());
    QTRY_VERIFY(run->action(ID_VIEW_CLOTH_CONTROLS)->isChecked());
    QVERIFY(panel->width() > panel->fontMetrics().horizontalAdvance(panel->windowTitle()));
  }

  // Keypad 7 looks down on the hanging sheet (it shows edge on, along one screen row), keypad 3
  // from its side (along one column); F then makes it fill the view's height; Home puts the first
  // camera back.
  void theCameraKeysTurnAndFrameTheView() {
    QVERIFY(run->start());
    CLoomwiseView* view = run->activeView();
    const Cloth& cloth = run->activeDocument()->cloth;
    const auto screenExtent = [&](bool rows) {
      const NodePicker picker(view->cameraMatrix, view->viewScale, view->width(), view->height());
      double lower = 1e300, upper = -1e300;
      for (int k = 0; k < cloth.nodeCount(); ++k) {
        const NodePicker::ScreenPoint p = picker.project(cloth.positions->at(k));
        lower = std::min(lower, rows ? p.y : p.x);
        upper = std::max(upper, rows ? p.y : p.x);
      }
      return std::pair{lower, upper};
    };
    QTest::keyClick(&run->frame(), Qt::Key_7, Qt::KeypadModifier);
    auto [top, bottom] = screenExtent(true);
    QVERIFY(bottom - top < 1e-6);
    QTest::keyClick(&run->frame(), Qt::Key_3, Qt::KeypadModifier);
    auto [left, right] = screenExtent(false);
    QVERIFY(right - left < 1e-6);
    QTest::keyClick(&run->frame(), Qt::Key_F);
    std::tie(top, bottom) = screenExtent(true);
    QVERIFY(top > 0 && bottom < view->height() && bottom - top > 0.85 * view->height());
    QTest::keyClick(&run->frame(), Qt::Key_Home);
    QCOMPARE(view->viewScale, CLoomwiseView::kFirstViewScale);
    for (int i = 0; i < 16; ++i) QCOMPARE(view->cameraMatrix[i], i % 5 == 0 ? 1.0 : 0.0);
  }

  // Each document's panels show while it is the active one: never two on top of each other, and
  // the View menu's checks tell what is on screen.
  void thePanelsFollowTheActiveDocument() {
    QVERIFY(run->start());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(run->chooseMenu("&View", "Sc&ene Panel"));
    CLoomwiseDoc* first = run->activeDocument();
    QVERIFY(run->newDocument());
    CLoomwiseDoc* second = run->activeDocument();
    QVERIFY(!first->controlsPanel->isVisible() && !first->scenePanel->isVisible());
    QTRY_VERIFY(!run->action(ID_VIEW_CLOTH_CONTROLS)->isChecked());
    QVERIFY(!run->action(ID_VIEW_SCENE_PANEL)->isChecked());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(second->controlsPanel->isVisible() && !second->scenePanel->isVisible());
    QVERIFY(run->chooseMenu("&Window", "&1 Loomwi1"));
    QTRY_VERIFY(first->controlsPanel->isVisible() && first->scenePanel->isVisible());
    QVERIFY(!second->controlsPanel->isVisible());
    QTRY_VERIFY(run->action(ID_VIEW_SCENE_PANEL)->isChecked());
  }

  // A maximised child must not add its title to the caption a second time.
  void theCaptionNeverRepeatsTheTitle_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("caption");
    QTest::newRow("the document's title") << QString() << "Loomwise - Loomwi1";
    QTest::newRow("a recording's text") << "Stopped recording" << "Stopped recording";
  }
  void theCaptionNeverRepeatsTheTitle() {
    QFETCH(QString, set);
    QVERIFY(run->start());
    run->area().subWindowList().first()->showMaximized();
    if (set.isEmpty())
      run->frame().updateTitle();
    else
      run->frame().setWindowTitle(set);
    QTEST(run->frame().windowTitle(), "caption");
    QVERIFY(run->chooseMenu("&Window", "&New Window"));
    QTRY_COMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - Loomwi1"));
  }

  void openGivesTheDefaultClothTitledByTheFile() {
    QVERIFY(run->start());
    const QString path = run->file("curtain.dat");
    run->app->setFileChooser([&](QWidget*, FileDialogKind kind, const QString&) {
      return kind == FileDialogKind::Open ? path : QString();
    });
    auto dialog = whenModal<QDialog>([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QVERIFY(run->chooseMenu("&File", "&Open...\tCtrl+O"));
    QVERIFY(!dialog->ran);
    QCOMPARE(run->documents().size(), std::size_t{2});
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - curtain.dat"));
    QCOMPARE(run->activeDocument()->cloth.width, 17);
    // Opening it again shows the document that has it.
    QVERIFY(run->chooseMenu("&File", "&Open...\tCtrl+O"));
    QCOMPARE(run->documents().size(), std::size_t{2});
  }

  // A file that is not a document (a recording's script here) is refused, named in the message,
  // and neither opened nor listed among the recent files.
  void openRefusesAFileThatIsNoDocument() {
    QVERIFY(run->start());
    const QString path = run->file("animate_take.mel", "setKeyframe -shape 1 {\"take.cv[0:7][0:7]\"};\n");
    run->app->setFileChooser([&](QWidget*, FileDialogKind, const QString&) { return path; });
    QString text;
    auto box = whenModal<QMessageBox>([&](QMessageBox* b) {
      text = b->text();
      QTest::keyClick(b, Qt::Key_Return);
    });
    QVERIFY(run->chooseMenu("&File", "&Open...\tCtrl+O"));
    QTRY_VERIFY(box->ran);
    QVERIFY(text.contains("animate_take.mel") && text.contains("not a Loomwise document"));
    QCOMPARE(run->documents().size(), std::size_t{1});
    QVERIFY(!run->app->recentFiles()->files().contains(path));
  }

  void saveAsWritesTheSceneAndRenamesTheDocument() {
    QVERIFY(run->start());
    const QString path = run->file("old-content.txt", "something that must go");
    QString suggested;
    run->app->setFileChooser([&](QWidget*, FileDialogKind, const QString& name) {
      suggested = name;
      return path;
    });
    QVERIFY(run->chooseMenu("&File", "Save &As..."));
    QCOMPARE(suggested, QStringLiteral("Loomwi1"));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("{\n  \"format\": \"loomwise-scene\",\n  \"version\": 1,"));
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - old-content.txt"));
    QCOMPARE(run->app->recentFiles()->files().first(), path);
  }

  void theRecentFileListKeepsEightAndOpensThem() {
    QVERIFY(run->start());
    QStringList paths;
    for (int i = 1; i <= 9; ++i) {
      paths.prepend(run->file(QStringLiteral("f%1").arg(i)));
      QVERIFY(run->app->openDocumentFile(paths.first()) != nullptr);
    }
    QCOMPARE(run->app->recentFiles()->files(), paths.mid(0, 8));
    QSettings settings;
    QCOMPARE(settings.value("Recent File List/File1").toString(), paths[0]);
    QCOMPARE(settings.value("Recent File List/File8").toString(), paths[7]);
    QVERIFY(!settings.contains("Recent File List/File9"));
    QCOMPARE(run->action(ID_FILE_MRU_FILE1 + 2)->text(), QStringLiteral("&3 ") + paths[2]);
    QVERIFY(run->action(ID_FILE_MRU_FILE1 + 7)->isVisible());

    QVERIFY(run->chooseMenu("&File", "&Close"));  // the newest, f9
    QVERIFY(run->chooseMenu("&File", "&1 " + paths[0]));
    QCOMPARE(run->frame().windowTitle(), QStringLiteral("Loomwise - f9"));
    // A listed file that has gone is dropped from the list after the message.
    QVERIFY(run->chooseMenu("&File", "&Close"));
    QFile::remove(paths[0]);
    auto box = whenModal<QMessageBox>([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); });
    QVERIFY(run->chooseMenu("&File", "&1 " + paths[0]));
    QVERIFY(box->ran);
    QCOMPARE(run->app->recentFiles()->files(), paths.mid(1, 7));
    QCOMPARE(run->action(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 ") + paths[1]);
    QVERIFY(!run->action(ID_FILE_MRU_FILE1 + 7)->isVisible());
  }

  // The list survives the program: the next start reads it back.
  void theRecentFileListIsRememberedAcrossStarts() {
    const QString path = run->file("kept");
    QVERIFY(run->start({path}));
    run->app.reset();
    run->app = std::make_unique<CLoomwiseApp>(QStringList());
    whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    QVERIFY(run->app->InitInstance());
    QCOMPARE(run->action(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 ") + path);
    QVERIFY(run->action(ID_FILE_MRU_FILE1)->isEnabled());
  }

  void aboutShowsTheVersion() {
    QVERIFY(run->start());
    QStringList texts;
    QString title;
    auto step = whenModal<AboutDialog>([&](AboutDialog* d) {
      title = d->windowTitle();
      for (QLabel* l : d->findChildren<QLabel*>()) texts << l->text();
      QTest::keyClick(d, Qt::Key_Escape);
    });
    run->clickButton(ID_APP_ABOUT);
    QVERIFY(step->ran);
    QCOMPARE(title, QStringLiteral("About Loomwise"));
    QVERIFY(texts.contains("Loomwise Version 1.0"));
    QVERIFY(texts.contains("Copyright (c) 2026 the Loomwise maintainers"));
    QVERIFY(texts.contains("Free software under the MIT licence"));
    QVERIFY(texts.contains("Build version " LOOMWISE_VERSION));
  }

  void theStatusBarShowsReadyPromptsAndKeyStates() {
    QVERIFY(run->start());
    QStatusBar* status = run->frame().statusBar();
    auto* pane = status->findChild<QLabel*>(QStringLiteral("messagePane"));
    QCOMPARE(pane->text(), QStringLiteral("Ready"));
    QVERIFY(pane->isVisible());
    QTest::mouseMove(run->button(ID_FILE_NEW));
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("Create a new document"));
    QTest::mouseMove(run->activeView());
    QTRY_VERIFY(status->currentMessage().isEmpty());
    QTRY_VERIFY(pane->isVisible());

    auto* caps = status->findChild<QLabel*>(QStringLiteral("control59137"));
    QCOMPARE(caps->text(), QStringLiteral("CAP"));
    QCOMPARE(status->findChild<QLabel*>(QStringLiteral("control59138"))->text(), QStringLiteral("NUM"));
    QCOMPARE(status->findChild<QLabel*>(QStringLiteral("control59139"))->text(), QStringLiteral("SCRL"));
    setCapsLock(true);
    QTRY_VERIFY(caps->isEnabled());
    setCapsLock(false);
    QTRY_VERIFY(!caps->isEnabled());
  }

  void theViewMenuHidesAndShowsTheBars() {
    QVERIFY(run->start());
    QToolBar* toolbar = qobject_cast<QToolBar*>(run->button(ID_FILE_NEW)->parentWidget());
    QVERIFY(run->chooseMenu("&View", "&Toolbar"));
    QVERIFY(!toolbar->isVisible());
    QTRY_VERIFY(!run->action(ID_VIEW_TOOLBAR)->isChecked());
    QVERIFY(run->chooseMenu("&View", "&Status Bar"));
    QVERIFY(!run->frame().statusBar()->isVisible());
    auto* timeline = run->frame().findChild<QToolBar*>(QStringLiteral("timelineBar"));
    QVERIFY(run->chooseMenu("&View", "T&imeline"));
    QVERIFY(!timeline->isVisible());
    QVERIFY(run->chooseMenu("&View", "&Toolbar"));
    QVERIFY(run->chooseMenu("&View", "&Status Bar"));
    QVERIFY(run->chooseMenu("&View", "T&imeline"));
    QVERIFY(toolbar->isVisible() && run->frame().statusBar()->isVisible() && timeline->isVisible());
    QTRY_VERIFY(run->action(ID_VIEW_STATUS_BAR)->isChecked() && run->action(ID_VIEW_TIMELINE)->isChecked());
  }

  void printingOpensThePrintDialogs_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("print") << "&Print...\tCtrl+P";
    QTest::newRow("preview") << "Print Pre&view";
    QTest::newRow("setup") << "P&rint Setup...";
  }
  void printingOpensThePrintDialogs() {
    QFETCH(QString, item);
    QVERIFY(run->start());
    QString shown;
    auto step = whenModal<QDialog>([&](QDialog* d) {
      shown = QLatin1String(d->metaObject()->className());
      d->reject();
    });
    QVERIFY(run->chooseMenu("&File", item));
    QVERIFY(step->ran);
    // Print Setup on a machine without printers says so instead of showing the page setup.
    const QStringList dialogs = {"QPrintDialog", "QPrintPreviewDialog", "QPageSetupDialog", "QMessageBox"};
    QVERIFY2(dialogs.contains(shown), qPrintable(shown));
  }

  // A printed page carries the view's picture: a PDF page with the red, green and blue of the axes.
  void printingPutsTheViewOnThePage() {
    QVERIFY(run->start());
    const QString pdf = run->files.filePath("page.pdf");
    QPrinter& printer = run->app->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(run->frame().router().dispatch(ID_FILE_PRINT_DIRECT));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 2000);  // an embedded image, not an empty page
  }

  // Each display option changes the picture and is checked while on; all are kept for a new view.
  void displayOptionsChangeThePictureAndAreRemembered() {
    QVERIFY(run->start());
    run->activeDocument()->runTimer.stop();
    const QImage plain = run->activeView()->grabFramebuffer();
    for (const char* item : {"&Wireframe", "Show &Nodes", "Show P&ins", "Floor &Grid"}) {
      QVERIFY(run->chooseMenu("&View", item));
      QVERIFY2(run->activeView()->grabFramebuffer() != plain, item);
      QVERIFY(run->chooseMenu("&View", item));
      QCOMPARE(run->activeView()->grabFramebuffer(), plain);
    }
    QVERIFY(run->chooseMenu("&View", "Floor &Grid"));
    auto colour = whenModal<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(Qt::red);
      d->accept();
    });
    QVERIFY(run->chooseMenu("&View", "Cloth C&olour..."));
    QTRY_VERIFY(colour->ran);
    QVERIFY(run->newDocument());
    QCOMPARE(run->activeView()->display.clothColour, QColor(Qt::red));
    QVERIFY(run->activeView()->display.floorGrid && run->activeView()->display.pins);
    QVERIFY(!run->activeView()->display.wireframe);
  }

  void exitClosesEveryDocumentAndPanel() {
    QVERIFY(run->start());
    QVERIFY(run->newDocument());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
    QVERIFY(run->chooseMenu("&File", "E&xit"));
    QVERIFY(!run->frame().isVisible());
    QVERIFY(run->documents().empty());
    QTRY_COMPARE(run->area().subWindowList().size(), 0);
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseAppTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseApp.moc"
