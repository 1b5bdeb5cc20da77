#include "toolkit/MdiFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/CommandIds.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/Document.h"
#include "toolkit/DocumentTemplate.h"
#include "toolkit/FrameStatusBar.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/RecentFileList.h"
#include "toolkit/View.h"

namespace {

// A menu item's text as a button shows it: without the mnemonic and the shortcut ("&Run\tCtrl+R").
QString buttonText(QString menuText) {
  const int tab = menuText.indexOf(QLatin1Char('\t'));
  if (tab >= 0) menuText.truncate(tab);
  return menuText.remove(QLatin1Char('&'));
}

}  // namespace

MdiFrame::MdiFrame(const QString& title)
    : frameTitle(title), area(new QMdiArea(this)), router_(new CommandRouter(*this, [this] { return route(); })) {
  setCentralWidget(area);
  connect(area, &QMdiArea::subWindowActivated, this, [this] {
    updateTitle();
    router_->updateAll();
  });
  addWindowCommands();
  updateTitle();
}

MdiFrame::~MdiFrame() {
  area->disconnect(this);
  closeAllFrames();
}

void MdiFrame::addWindowCommands() {
  const auto needsFrame = [this](CommandUi& ui) { ui.setEnabled(activeFrame() != nullptr); };
  onCommand(ID_WINDOW_NEW, [this] { OnWindowNew(); });
  onCommand(ID_WINDOW_CASCADE, [this] { area->cascadeSubWindows(); });
  onCommand(ID_WINDOW_TILE_HORZ, [this] { area->tileSubWindows(); });
  onCommand(ID_WINDOW_ARRANGE, [this] { arrangeIcons(); });
  for (int id : {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
    onUpdate(id, needsFrame);
}

MdiChildFrame* MdiFrame::activeFrame() const {
  // The current window, not the active one: commands still reach it while the panel or a dialog
  // has the focus.
  auto* frame = qobject_cast<MdiChildFrame*>(area->currentSubWindow());
  return frame != nullptr && frame->view() != nullptr ? frame : nullptr;
}

View* MdiFrame::activeView() const {
  MdiChildFrame* frame = activeFrame();
  return frame != nullptr ? frame->view() : nullptr;
}

Document* MdiFrame::activeDocument() const {
  View* view = activeView();
  return view != nullptr ? view->document() : nullptr;
}

std::vector<CommandTarget*> MdiFrame::route() const {
  std::vector<CommandTarget*> targets;
  if (View* view = activeView()) {
    targets.push_back(view);
    if (Document* document = view->document()) targets.push_back(document);
    targets.push_back(activeFrame());
  }
  targets.push_back(const_cast<MdiFrame*>(this));
  if (Application* app = Application::instance()) targets.push_back(app);
  return targets;
}

void MdiFrame::addChildFrame(MdiChildFrame& frame) {
  area->addSubWindow(&frame);
  frames.push_back(&frame);
  connect(&frame, &MdiChildFrame::frameClosed, this, &MdiFrame::frameClosed);
  connect(&frame, &QWidget::windowTitleChanged, this, [this, f = &frame] {
    if (f == activeFrame()) updateTitle();
  });
}

void MdiFrame::activateFrame(MdiChildFrame& frame) {
  frame.show();
  area->setActiveSubWindow(&frame);
  showMenus();
  updateTitle();
  router_->updateAll();
}

void MdiFrame::frameClosed(MdiChildFrame* frame) {
  frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
  showMenus();
  updateTitle();
  router_->updateAll();
}

void MdiFrame::closeAllFrames() {
  const std::vector<MdiChildFrame*> closing = frames;
  for (MdiChildFrame* frame : closing) frame->close();
}

void MdiFrame::updateTitle() {
  const Document* document = activeDocument();
  setWindowTitle(document != nullptr ? frameTitle + QStringLiteral(" - ") + document->title() : frameTitle);
}

void MdiFrame::OnWindowNew() {
  Document* document = activeDocument();
  if (document != nullptr && document->docTemplate() != nullptr)
    activateFrame(*document->docTemplate()->createNewFrame(*document, *this));
}

void MdiFrame::arrangeIcons() {
  // Minimised windows in a row along the bottom edge of the area.
  int x = 0;
  const int bottom = area->viewport()->height();
  for (QMdiSubWindow* window : area->subWindowList()) {
    if (!window->isMinimized()) continue;
    window->move(x, bottom - window->height());
    x += window->width();
  }
}

void MdiFrame::listWindows(QMenu& menu) {
  for (QAction* action : windowListActions) delete action;
  windowListActions.clear();
  const QList<QMdiSubWindow*> windows = area->subWindowList();
  if (windows.isEmpty()) return;
  windowListActions.push_back(menu.addSeparator());
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    ++number;
    QString title = window->windowTitle();
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    // The first nine get their digit as the mnemonic.
    const QString text = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                     : QStringLiteral("%1 %2").arg(number).arg(title);
    QAction* action = menu.addAction(text);
    action->setCheckable(true);
    action->setChecked(window == area->currentSubWindow());
    connect(action, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(window)] {
      if (auto* child = qobject_cast<MdiChildFrame*>(frame.data())) activateFrame(*child);
    });
    windowListActions.push_back(action);
  }
}

// A maximised child makes Qt append " - [child title]" to the caption, which already names the
// active document (or carries a recording's status): take it off again.
void MdiFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowTitleChange) return;
  const QMdiSubWindow* child = area->currentSubWindow();
  if (child == nullptr) return;
  const QString suffix = QStringLiteral(" - [%1]").arg(child->windowTitle());
  const QString title = windowTitle();
  if (title.endsWith(suffix)) setWindowTitle(title.chopped(suffix.size()));
}

void MdiFrame::closeEvent(QCloseEvent* event) {
  closeAllFrames();
  event->accept();
}

void MdiFrame::loadMenus(const MenuResource& noDocument, const MenuResource& withDocument, int recentSlots) {
  recentFileSlots = recentSlots;
  noDocumentMenus = buildMenus(noDocument);
  documentMenus = buildMenus(withDocument);
  showMenus();
}

std::vector<QMenu*> MdiFrame::buildMenus(const MenuResource& resource) {
  std::vector<QMenu*> menus;
  for (const PopupMenu& popup : resource) {
    auto* menu = new QMenu(QString::fromUtf8(popup.title), this);
    for (const MenuItem& item : popup.items) {
      if (item.id == 0) {
        menu->addSeparator();
      } else if (item.id == ID_FILE_MRU_FILE1) {
        for (int slot = 0; slot < recentFileSlots; ++slot) menu->addAction(router_->action(item.id + slot));
        recentPlaceholder = QString::fromUtf8(item.text);
      } else {
        QAction* action = router_->action(item.id);
        action->setText(QString::fromUtf8(item.text));
        menu->addAction(action);
      }
    }
    router_->watch(*menu);
    const auto holdsWindowCommands = [](const MenuItem& item) { return item.id == ID_WINDOW_NEW; };
    if (std::any_of(popup.items.begin(), popup.items.end(), holdsWindowCommands))
      connect(menu, &QMenu::aboutToShow, this, [this, menu] { listWindows(*menu); });
    menus.push_back(menu);
  }
  return menus;
}

void MdiFrame::showMenus() {
  const std::vector<QMenu*>& shown = frames.empty() ? noDocumentMenus : documentMenus;
  menuBar()->clear();
  for (QMenu* menu : shown) menuBar()->addMenu(menu);
}

QMenu* MdiFrame::menu(bool withDocument, int index) const {
  const std::vector<QMenu*>& menus = withDocument ? documentMenus : noDocumentMenus;
  return index < static_cast<int>(menus.size()) ? menus[index] : nullptr;
}

void MdiFrame::loadAccelerators(const std::vector<Accelerator>& accelerators) {
  std::map<int, QList<QKeySequence>> keys;
  for (const Accelerator& accelerator : accelerators) keys[accelerator.id].append(accelerator.keys);
  for (const auto& [id, sequences] : keys) {
    // Application-wide, so the keys also work from modeless panels; modal dialogs still block them.
    router_->action(id)->setShortcutContext(Qt::ApplicationShortcut);
    router_->action(id)->setShortcuts(sequences);
  }
}

QToolBar* MdiFrame::newBand(int id) {
  auto* band = new QToolBar(this);
  band->setObjectName(QStringLiteral("bar%1").arg(id));
  // Bands stay at the top, movable by their handles, never floating or docked elsewhere.
  band->setAllowedAreas(Qt::TopToolBarArea);
  band->setFloatable(false);
  band->setMovable(true);
  // The View menu toggles the bars; the toolbar's own context menu would duplicate it.
  band->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, band);
  bars[id] = band;
  onCommand(id, [this, id] { toggleBar(id); });
  onUpdate(id, [this, id](CommandUi& ui) { ui.setChecked(!bars[id]->isHidden()); });
  return band;
}

QToolBar* MdiFrame::loadToolBar(int id, const std::vector<ToolbarButton>& buttons) {
  QToolBar* band = newBand(id);
  band->setIconSize(QSize(16, 15));
  for (const ToolbarButton& button : buttons) {
    if (button.id == 0) {
      band->addSeparator();
      continue;
    }
    QAction* action = router_->action(button.id);
    action->setIcon(QIcon(QString::fromUtf8(button.image)));
    band->addAction(action);
  }
  return band;
}

QToolBar* MdiFrame::addBarBand(int id, QWidget& content) {
  QToolBar* band = newBand(id);
  band->addWidget(&content);
  return band;
}

void MdiFrame::loadPrompts(const StringTable& prompts) {
  for (const auto& [id, text] : prompts) {
    const int split = text.indexOf(QLatin1Char('\n'));
    QAction* action = router_->find(id);
    if (action == nullptr) continue;  // not a command of this frame
    action->setStatusTip(text.left(split));
    if (split >= 0)
      action->setToolTip(text.mid(split + 1));
    else if (!action->text().isEmpty())
      action->setToolTip(buttonText(action->text()));
  }
}

void MdiFrame::createStatusBar(const QString& idleText, const std::vector<std::pair<int, QString>>& indicators) {
  statusBar_ = new FrameStatusBar(*this, idleText);
  for (const auto& [id, text] : indicators) statusBar_->addIndicator(id, text);
  setStatusBar(statusBar_);
  bars[ID_VIEW_STATUS_BAR] = statusBar_;
  onCommand(ID_VIEW_STATUS_BAR, [this] { toggleBar(ID_VIEW_STATUS_BAR); });
  onUpdate(ID_VIEW_STATUS_BAR, [this](CommandUi& ui) { ui.setChecked(!statusBar_->isHidden()); });
}

void MdiFrame::toggleBar(int id) {
  QWidget* bar = bars.at(id);
  bar->setVisible(bar->isHidden());
}

void MdiFrame::showRecentFiles(const RecentFileList& files) {
  for (int slot = 0; slot < recentFileSlots; ++slot) {
    QAction* action = router_->action(ID_FILE_MRU_FILE1 + slot);
    const bool listed = slot < files.files().size();
    action->setText(listed ? files.menuText(slot) : recentPlaceholder);
    action->setVisible(listed || slot == 0);
  }
}
