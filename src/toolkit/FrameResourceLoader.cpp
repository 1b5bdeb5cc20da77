#include "toolkit/FrameResourceLoader.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QToolBar>
#include <map>

#include "toolkit/CommandIds.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/FrameStatusBar.h"
#include "toolkit/MdiFrame.h"

namespace {

// A menu item's text as a button shows it: without the mnemonic and the shortcut ("&Run\tCtrl+R").
QString buttonText(QString menuText) {
  const int tab = menuText.indexOf(QLatin1Char('\t'));
  if (tab >= 0) menuText.truncate(tab);
  return menuText.remove(QLatin1Char('&'));
}

}  // namespace

FrameResourceLoader::FrameResourceLoader(MdiFrame& frame) : frame(frame), router(frame.router()) {}

void FrameResourceLoader::loadMenus(const MenuResource& noDocument, const MenuResource& withDocument,
                                    int recentSlots) {
  std::vector<QMenu*> noDocumentMenus = buildMenus(noDocument, recentSlots);
  frame.setMenus(std::move(noDocumentMenus), buildMenus(withDocument, recentSlots));
}

std::vector<QMenu*> FrameResourceLoader::buildMenus(const MenuResource& resource, int recentSlots) {
  std::vector<QMenu*> menus;
  for (const PopupMenu& popup : resource) {
    auto* menu = new QMenu(QString::fromUtf8(popup.title), &frame);
    addItems(*menu, popup.items, recentSlots);
    menus.push_back(menu);
  }
  return menus;
}

void FrameResourceLoader::addItems(QMenu& menu, const std::vector<MenuItem>& items, int recentSlots) {
  for (const MenuItem& item : items) {
    if (!item.submenu.empty()) {
      addItems(*menu.addMenu(QString::fromUtf8(item.text)), item.submenu, recentSlots);
    } else if (item.id == 0) {
      menu.addSeparator();
    } else if (item.id == ID_FILE_MRU_FILE1) {
      for (int slot = 0; slot < recentSlots; ++slot) menu.addAction(router.action(item.id + slot));
      frame.setRecentFileSlots(recentSlots, QString::fromUtf8(item.text));
    } else {
      QAction* action = router.action(item.id);
      action->setText(QString::fromUtf8(item.text));
      menu.addAction(action);
    }
  }
}

void FrameResourceLoader::loadAccelerators(const std::vector<Accelerator>& accelerators) {
  std::map<int, QList<QKeySequence>> keys;
  for (const Accelerator& accelerator : accelerators) keys[accelerator.id].append(accelerator.keys);
  for (const auto& [id, sequences] : keys) {
    // Application-wide, so the keys also work from modeless panels; modal dialogs still block them.
    router.action(id)->setShortcutContext(Qt::ApplicationShortcut);
    router.action(id)->setShortcuts(sequences);
  }
}

QToolBar* FrameResourceLoader::newBand(int id) {
  auto* band = new QToolBar(&frame);
  band->setObjectName(QStringLiteral("bar%1").arg(id));
  // Bands stay at the top, movable by their handles, never floating or docked elsewhere.
  band->setAllowedAreas(Qt::TopToolBarArea);
  band->setFloatable(false);
  band->setMovable(true);
  // The View menu toggles the bars; the toolbar's own context menu would duplicate it.
  band->toggleViewAction()->setVisible(false);
  frame.addToolBar(Qt::TopToolBarArea, band);
  frame.addBar(id, *band);
  return band;
}

QToolBar* FrameResourceLoader::loadToolBar(int id, const std::vector<ToolbarButton>& buttons) {
  QToolBar* band = newBand(id);
  band->setIconSize(QSize(16, 15));
  for (const ToolbarButton& button : buttons) {
    if (button.id == 0) {
      band->addSeparator();
      continue;
    }
    QAction* action = router.action(button.id);
    action->setIcon(QIcon(QString::fromUtf8(button.image)));
    band->addAction(action);
  }
  return band;
}

QToolBar* FrameResourceLoader::addBarBand(int id, QWidget& content) {
  QToolBar* band = newBand(id);
  band->addWidget(&content);
  return band;
}

void FrameResourceLoader::loadPrompts(const StringTable& prompts) {
  for (const auto& [id, text] : prompts) {
    const int split = text.indexOf(QLatin1Char('\n'));
    QAction* action = router.find(id);
    if (action == nullptr) continue;  // not a command of this frame
    action->setStatusTip(text.left(split));
    if (split >= 0)
      action->setToolTip(text.mid(split + 1));
    else if (!action->text().isEmpty())
      action->setToolTip(buttonText(action->text()));
  }
}

FrameStatusBar* FrameResourceLoader::createStatusBar(const QString& idleText,
                                                     const std::vector<std::pair<int, QString>>& indicators) {
  auto* statusBar = new FrameStatusBar(frame, idleText);
  for (const auto& [id, text] : indicators) statusBar->addIndicator(id, text);
  frame.setStatusBar(statusBar);
  frame.addBar(ID_VIEW_STATUS_BAR, *statusBar);
  return statusBar;
}
