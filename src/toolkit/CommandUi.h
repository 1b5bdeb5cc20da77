#pragma once

#include <QString>
#include <optional>

// What an update handler says about one command: enabled or not, and a check mark if it sets one.
// The router applies it to the command's action after the handler returns.
class CommandUi {
public:
  explicit CommandUi(int id) : id(id) {}

  void setEnabled(bool on = true) { enabled = on; }
  void setChecked(bool on = true) {
    checked = on;
    checkSet = true;
  }

  // A text of the moment (Undo names what it takes back) or a hidden slot of a list (saved presets).
  void setText(const QString& newText) { text = newText; }
  void setVisible(bool on) { visible = on; }

  const int id;
  bool enabled = true;
  bool checked = false;
  bool checkSet = false;  // a handler that never checks leaves the action uncheckable
  std::optional<QString> text;  // none: the menu's text stays
  std::optional<bool> visible;  // none: the action keeps its visibility
};
