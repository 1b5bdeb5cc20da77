#include "app/CMainFrame.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>

#include "app/AppResources.h"
#include "app/CLoomwiseDoc.h"
#include "app/FramePane.h"
#include "app/PacePane.h"
#include "app/Resource.h"
#include "app/TimelineBar.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/FrameResourceLoader.h"
#include "toolkit/FrameStatusBar.h"
#include "toolkit/MdiChildFrame.h"
#include "view/CLoomwiseView.h"
#include "view/SimulationTimer.h"

namespace {

// Dialog bar template 128, in dialog units: how to take hold of the cloth, short enough that the
// toolbar beside it keeps Run and Reset in view at the window's first size.
const int kDialogBarWidth = 170, kDialogBarHeight = 16;
const std::vector<DialogItem> kDialogBarItems = {
    {kNoControlId, DialogItemKind::StaticLeft, "Drag a node to pull it, Ctrl+click to pin it", 6, 4, 160, 8}};

const QString kRealTimeKey = QStringLiteral("View/realTime");

}  // namespace

CMainFrame::CMainFrame() : MdiFrame(AppResources::string(IDR_MAINFRAME)) {
  // Installed, the window shows the menu entry's icon; from the build folder, our own picture of it.
  setWindowIcon(QIcon::fromTheme(QStringLiteral("org.loomwise.loomwise"),
                                 QIcon(QStringLiteral(":/icons/loomwise.xpm"))));
  FrameResourceLoader load(*this);
  load.loadMenus(AppResources::mainMenu(), AppResources::documentMenu(), AppResources::kRecentFiles);
  load.loadToolBar(ID_VIEW_TOOLBAR, AppResources::toolbar());
  load.addBarBand(kDialogBarId, *createDialogBar());
  load.loadAccelerators(AppResources::accelerators());
  FrameStatusBar* status = load.createStatusBar(AppResources::string(kIdleMessageString),
                                                {{ID_INDICATOR_CAPS, AppResources::string(ID_INDICATOR_CAPS)},
                                                 {ID_INDICATOR_NUM, AppResources::string(ID_INDICATOR_NUM)},
                                                 {ID_INDICATOR_SCRL, AppResources::string(ID_INDICATOR_SCRL)}});
  pacePane = new PacePane([this] { return dynamic_cast<const CLoomwiseDoc*>(activeDocument()); }, this);
  status->insertPermanentWidget(1, pacePane);  // after the message pane, before the indicators
  framePane = new FramePane([this] { return dynamic_cast<const CLoomwiseDoc*>(activeDocument()); }, this);
  status->insertPermanentWidget(1, framePane);  // before the pace
  timelineBar = new TimelineBar([this] { return dynamic_cast<CLoomwiseDoc*>(activeDocument()); }, this);
  addToolBar(Qt::BottomToolBarArea, timelineBar);
  addBar(ID_VIEW_TIMELINE, *timelineBar);
  connect(timelineBar, &TimelineBar::frameChosen, framePane, &FramePane::refresh);
  load.loadPrompts(AppResources::strings());
  realTime = QSettings().value(kRealTimeKey, false).toBool();
  onCommand(ID_VIEW_REAL_TIME, [this] { OnViewRealTime(); });
  onUpdate(ID_VIEW_REAL_TIME, [this](CommandUi& ui) { OnUpdateViewRealTime(ui); });
  // None when the main window loses the focus, to a panel say: the panels stay as they are.
  connect(&mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    if (window != nullptr) followActiveDocument();
  });
  // Two thirds of the screen, the size Qt gives a new window. Each frame of a running view composes
  // the whole main window again, at a cost that grows with its area: under software OpenGL three
  // quarters took a fifth more of a core than this.
  resize(QGuiApplication::primaryScreen()->availableSize() * 2 / 3);
}

void CMainFrame::OnViewRealTime() {
  realTime = !realTime;
  QSettings().setValue(kRealTimeKey, realTime);
}

void CMainFrame::OnUpdateViewRealTime(CommandUi& ui) { ui.setChecked(realTime); }

void CMainFrame::followActiveDocument() {
  const Document* active = activeDocument();
  for (QMdiSubWindow* window : mdiArea().subWindowList())
    if (auto* frame = qobject_cast<MdiChildFrame*>(window))
      if (auto* document = dynamic_cast<CLoomwiseDoc*>(frame->view()->document()))
        document->showPanels(document == active);
  timelineBar->refresh();
  framePane->refresh();
}

QWidget* CMainFrame::createDialogBar() {
  auto* bar = new QWidget(this);
  const DialogUnits units(bar->font(), kDialogBarItems);
  buildDialogItems(*bar, kDialogBarItems, units);
  bar->setFixedSize(units.toPixels(0, 0, kDialogBarWidth, kDialogBarHeight).size());
  return bar;
}
