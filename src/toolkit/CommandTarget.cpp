#include "toolkit/CommandTarget.h"

bool CommandTarget::runCommand(int id) {
  const auto it = commands.find(id);
  if (it == commands.end()) return false;
  // A copy: the handler may delete this target (File > Close deletes its document).
  const std::function<void()> handler = it->second;
  handler();
  return true;
}

bool CommandTarget::runUpdate(CommandUi& ui) {
  const auto it = updates.find(ui.id);
  if (it == updates.end()) return false;
  it->second(ui);
  return true;
}

void CommandTarget::onCommand(int id, std::function<void()> handler) {
  commands[id] = std::move(handler);
}

void CommandTarget::onUpdate(int id, std::function<void(CommandUi&)> handler) {
  updates[id] = std::move(handler);
}
