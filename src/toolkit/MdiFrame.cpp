#include "toolkit/MdiFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>

#include "toolkit/CommandIds.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/Document.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/RecentFileList.h"
#include "toolkit/View.h"

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
  onCommand(ID_WINDOW_NEW, [this] {
    if (Document* document = activeDocument()) emit newWindowRequested(document);
  });
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
  if (application_ != nullptr) targets.push_back(application_);
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

void MdiFrame::activateFrame(QMdiSubWindow& frame) {
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
      if (frame != nullptr) activateFrame(*frame);
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

void MdiFrame::setMenus(std::vector<QMenu*> noDocument, std::vector<QMenu*> withDocument) {
  noDocumentMenus = std::move(noDocument);
  documentMenus = std::move(withDocument);
  for (const std::vector<QMenu*>* menus : {&noDocumentMenus, &documentMenus}) {
    for (QMenu* menu : *menus) {
      router_->watch(*menu);
      if (menu->actions().contains(router_->find(ID_WINDOW_NEW)))
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { listWindows(*menu); });
    }
  }
  showMenus();
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

void MdiFrame::setRecentFileSlots(int count, const QString& placeholder) {
  recentFileSlots = count;
  recentPlaceholder = placeholder;
}

void MdiFrame::showRecentFiles(const RecentFileList& files) {
  for (int slot = 0; slot < recentFileSlots; ++slot) {
    QAction* action = router_->action(ID_FILE_MRU_FILE1 + slot);
    const bool listed = slot < files.files().size();
    action->setText(listed ? files.menuText(slot) : recentPlaceholder);
    action->setVisible(listed || slot == 0);
  }
}

void MdiFrame::addBar(int id, QWidget& bar) {
  bars[id] = &bar;
  onCommand(id, [this, id] { toggleBar(id); });
  onUpdate(id, [this, id](CommandUi& ui) { ui.setChecked(!bars[id]->isHidden()); });
}

void MdiFrame::toggleBar(int id) {
  QWidget* bar = bars.at(id);
  bar->setVisible(bar->isHidden());
}
