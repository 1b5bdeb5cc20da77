#pragma once

#include <QMainWindow>
#include <map>
#include <vector>

#include "toolkit/CommandTarget.h"
#include "toolkit/FrameResources.h"

class CommandRouter;
class Document;
class FrameStatusBar;
class MdiChildFrame;
class QMdiArea;
class QMenu;
class QToolBar;
class RecentFileList;
class View;

// The multi-document main frame: child frames in an MDI area, the menus of the state it is in (no
// document open, or some), toolbars and the status bar, and the router that offers commands to
// the active view, its document, its child frame, this frame and the application, in that order.
// The caption is the frame's title, then " - " and the active document's title.
class MdiFrame : public QMainWindow, public CommandTarget {
  Q_OBJECT
public:
  explicit MdiFrame(const QString& title);
  ~MdiFrame() override;

  QMdiArea& mdiArea() const { return *area; }
  CommandRouter& router() const { return *router_; }
  FrameStatusBar* frameStatusBar() const { return statusBar_; }

  MdiChildFrame* activeFrame() const;
  View* activeView() const;
  Document* activeDocument() const;

  void addChildFrame(MdiChildFrame& frame);
  void activateFrame(MdiChildFrame& frame);
  void closeAllFrames();
  // The caption of the active document; a caption set directly stays until this runs again.
  void updateTitle();

  // Menus for no document and for documents. The placeholder ID_FILE_MRU_FILE1 becomes
  // `recentFileSlots` recent-file items.
  void loadMenus(const MenuResource& noDocument, const MenuResource& withDocument, int recentSlots);
  void loadAccelerators(const std::vector<Accelerator>& accelerators);
  QToolBar* loadToolBar(int id, const std::vector<ToolbarButton>& buttons);
  // Adds a bar band of its own at the top; View commands toggle it by `id`.
  QToolBar* addBarBand(int id, QWidget& content);
  void loadPrompts(const StringTable& prompts);
  void createStatusBar(const QString& idleText, const std::vector<std::pair<int, QString>>& indicators);
  QMenu* menu(bool withDocument, int index) const;
  // Fills the recent-file items; with an empty list the first shows the placeholder, greyed.
  void showRecentFiles(const RecentFileList& files);

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  std::vector<CommandTarget*> route() const;
  std::vector<QMenu*> buildMenus(const MenuResource& resource);
  QToolBar* newBand(int id);
  void showMenus();
  void frameClosed(MdiChildFrame* frame);
  void toggleBar(int id);
  void arrangeIcons();
  void OnWindowNew();
  void addWindowCommands();
  // The open windows at the end of the Window menu, numbered, the active one checked.
  void listWindows(QMenu& menu);

  const QString frameTitle;
  QMdiArea* area;
  CommandRouter* router_;
  FrameStatusBar* statusBar_ = nullptr;
  std::vector<QMenu*> noDocumentMenus;
  std::vector<QMenu*> documentMenus;
  std::vector<MdiChildFrame*> frames;
  std::map<int, QWidget*> bars;
  std::vector<QAction*> windowListActions;
  QString recentPlaceholder;
  int recentFileSlots = 0;
};
