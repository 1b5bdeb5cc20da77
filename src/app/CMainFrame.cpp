#include "app/CMainFrame.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

#include "app/AppResources.h"
#include "app/Resource.h"
#include "toolkit/DialogTemplate.h"

namespace {

// Dialog bar template 128, in dialog units: a label and nothing else yet.
const int kDialogBarWidth = 330, kDialogBarHeight = 16;
const std::vector<DialogItem> kDialogBarItems = {
    {IDC_STATIC, DialogItemKind::StaticLeft, "TODO: layout dialog bar ", 12, 4, 300, 8}};

}  // namespace

CMainFrame::CMainFrame() : MdiFrame(AppResources::string(IDR_MAINFRAME)) {
  // Installed, the window shows the menu entry's icon; from the build folder, our own picture of it.
  setWindowIcon(QIcon::fromTheme(QStringLiteral("org.loomwise.loomwise"),
                                 QIcon(QStringLiteral(":/icons/loomwise.xpm"))));
  loadMenus(AppResources::mainMenu(), AppResources::documentMenu(), AppResources::kRecentFiles);
  loadToolBar(ID_VIEW_TOOLBAR, AppResources::toolbar());
  createDialogBar();
  loadAccelerators(AppResources::accelerators());
  createStatusBar(AppResources::string(AFX_IDS_IDLEMESSAGE),
                  {{ID_INDICATOR_CAPS, AppResources::string(ID_INDICATOR_CAPS)},
                   {ID_INDICATOR_NUM, AppResources::string(ID_INDICATOR_NUM)},
                   {ID_INDICATOR_SCRL, AppResources::string(ID_INDICATOR_SCRL)}});
  loadPrompts(AppResources::strings());
  resize(QGuiApplication::primaryScreen()->availableSize() * 3 / 4);
}

void CMainFrame::createDialogBar() {
  auto* bar = new QWidget(this);
  const DialogUnits units(bar->font(), kDialogBarItems);
  buildDialogItems(*bar, kDialogBarItems, units);
  bar->setFixedSize(units.toPixels(0, 0, kDialogBarWidth, kDialogBarHeight).size());
  addBarBand(AFX_IDW_DIALOGBAR, *bar);
}
