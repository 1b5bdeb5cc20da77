#pragma once

#include <utility>
#include <vector>

#include "toolkit/FrameResources.h"

class CommandRouter;
class FrameStatusBar;
class MdiFrame;
class QMenu;
class QToolBar;
class QWidget;

// Loads a main frame from its resource tables: menus, accelerators, toolbar, prompts and the
// status bar, all made of the frame's one action per command.
class FrameResourceLoader {
public:
  explicit FrameResourceLoader(MdiFrame& frame);

  // Menus for no document and for documents. The placeholder ID_FILE_MRU_FILE1 becomes
  // `recentSlots` recent-file items.
  void loadMenus(const MenuResource& noDocument, const MenuResource& withDocument, int recentSlots);
  void loadAccelerators(const std::vector<Accelerator>& accelerators);
  QToolBar* loadToolBar(int id, const std::vector<ToolbarButton>& buttons);
  // Adds a bar band of its own at the top; View commands toggle it by `id`.
  QToolBar* addBarBand(int id, QWidget& content);
  void loadPrompts(const StringTable& prompts);
  FrameStatusBar* createStatusBar(const QString& idleText, const std::vector<std::pair<int, QString>>& indicators);

private:
  std::vector<QMenu*> buildMenus(const MenuResource& resource, int recentSlots);
  // Items with a submenu become one, recursively.
  void addItems(QMenu& menu, const std::vector<MenuItem>& items, int recentSlots);
  QToolBar* newBand(int id);

  MdiFrame& frame;
  CommandRouter& router;
};
