#pragma once

#include <QMainWindow>
#include <map>
#include <vector>

#include "toolkit/CommandTarget.h"

class CommandRouter;
class Document;
class MdiChildFrame;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class RecentFileList;
class View;

// The multi-document main frame: child frames in an MDI area, the menus of the state it is in (no
// document open, or some), the bars the View menu shows and hides, and the router that offers
// commands to the active view, its document, its child frame, this frame and the application, in
// that order. The caption is the frame's title, then " - " and the active document's title.
class MdiFrame : public QMainWindow, public CommandTarget {
  Q_OBJECT
public:
  explicit MdiFrame(const QString& title);
  ~MdiFrame() override;

  QMdiArea& mdiArea() const { return *area; }
  CommandRouter& router() const { return *router_; }
  // The last target of every route.
  void setApplication(CommandTarget& application) { application_ = &application; }

  MdiChildFrame* activeFrame() const;
  View* activeView() const;
  Document* activeDocument() const;

  void addChildFrame(MdiChildFrame& frame);
  void activateFrame(QMdiSubWindow& frame);
  void closeAllFrames();
  // The caption of the active document; a caption set directly stays until this runs again.
  void updateTitle();

  // The menus for no document and for documents.
  void setMenus(std::vector<QMenu*> noDocument, std::vector<QMenu*> withDocument);
  QMenu* menu(bool withDocument, int index) const;
  // The menus hold `count` recent-file items, shown as `placeholder` while unused.
  void setRecentFileSlots(int count, const QString& placeholder);
  // Fills the recent-file items; with an empty list the first shows the placeholder, greyed.
  void showRecentFiles(const RecentFileList& files);
  // A bar the View command `id` shows and hides.
  void addBar(int id, QWidget& bar);

signals:
  // Window > New Window on the active document.
  void newWindowRequested(Document* document);

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  std::vector<CommandTarget*> route() const;
  void showMenus();
  void frameClosed(MdiChildFrame* frame);
  void toggleBar(int id);
  void arrangeIcons();
  void addWindowCommands();
  // The open windows at the end of the Window menu, numbered, the active one checked.
  void listWindows(QMenu& menu);

  const QString frameTitle;
  QMdiArea* area;
  CommandRouter* router_;
  CommandTarget* application_ = nullptr;
  std::vector<QMenu*> noDocumentMenus;
  std::vector<QMenu*> documentMenus;
  std::vector<MdiChildFrame*> frames;
  std::map<int, QWidget*> bars;
  std::vector<QAction*> windowListActions;
  QString recentPlaceholder;
  int recentFileSlots = 0;
};
