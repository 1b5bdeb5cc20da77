#pragma once

#include <QKeySequence>
#include <QString>
#include <map>
#include <vector>

// The resource tables a frame is loaded from: menus, accelerators, toolbar buttons, prompts.
struct MenuItem {
  int id;  // 0: a separator, or with a submenu its title
  const char* text;
  std::vector<MenuItem> submenu = {};
};
struct PopupMenu {
  const char* title;
  std::vector<MenuItem> items;
};
using MenuResource = std::vector<PopupMenu>;

struct Accelerator {
  QKeySequence keys;
  int id;
};

struct ToolbarButton {
  int id;             // 0: a separator
  const char* image;  // resource path of the button image
};

// Command prompts: the status-bar text, then optionally '\n' and the tool tip.
using StringTable = std::map<int, QString>;
