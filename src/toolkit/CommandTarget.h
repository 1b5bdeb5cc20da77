#pragma once

#include <functional>
#include <map>

#include "toolkit/CommandUi.h"

// Anything a command can be offered to: a view, a document, a frame or the application. Each
// target keeps its own table of command and update handlers, filled in its constructor.
class CommandTarget {
public:
  virtual ~CommandTarget() = default;

  bool handles(int id) const { return commands.count(id) != 0; }
  bool hasUpdate(int id) const { return updates.count(id) != 0; }
  // Runs the handler of `id`; false when this target has none.
  bool runCommand(int id);
  // Runs the update handler of `id`; false when this target has none.
  bool runUpdate(CommandUi& ui);

protected:
  void onCommand(int id, std::function<void()> handler);
  void onUpdate(int id, std::function<void(CommandUi&)> handler);

private:
  std::map<int, std::function<void()>> commands;
  std::map<int, std::function<void(CommandUi&)>> updates;
};
