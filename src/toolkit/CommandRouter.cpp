#include "toolkit/CommandRouter.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "toolkit/CommandTarget.h"

CommandRouter::CommandRouter(QWidget& window, Route route)
    : QObject(&window), window(window), route(std::move(route)) {
  connect(&idle, &QTimer::timeout, this, &CommandRouter::updateAll);
  idle.start(kIdleUpdateMs);
}

QAction* CommandRouter::action(int id) {
  QAction*& a = actions[id];
  if (a == nullptr) {
    a = new QAction(&window);
    a->setEnabled(false);
    window.addAction(a);
    connect(a, &QAction::triggered, this, [this, id] { dispatch(id); });
  }
  return a;
}

QAction* CommandRouter::find(int id) const {
  const auto it = actions.find(id);
  return it != actions.end() ? it->second : nullptr;
}

bool CommandRouter::dispatch(int id) {
  bool handled = false;
  for (CommandTarget* target : route()) {
    if (target->runCommand(id)) {
      handled = true;
      break;
    }
  }
  updateAll();
  return handled;
}

void CommandRouter::updateAll() {
  const std::vector<CommandTarget*> targets = route();
  for (auto& [id, a] : actions) updateAction(id, *a, targets);
}

void CommandRouter::watch(QMenu& menu) {
  connect(&menu, &QMenu::aboutToShow, this, &CommandRouter::updateAll);
}

void CommandRouter::updateAction(int id, QAction& a, const std::vector<CommandTarget*>& targets) {
  CommandUi ui(id);
  ui.setEnabled(false);
  for (CommandTarget* target : targets) {
    if (target->hasUpdate(id)) {
      ui.setEnabled(true);
      target->runUpdate(ui);
      break;
    }
    if (target->handles(id)) {
      ui.setEnabled(true);
      break;
    }
  }
  a.setEnabled(ui.enabled);
  if (ui.text && a.text() != *ui.text) a.setText(*ui.text);
  if (ui.visible && a.isVisible() != *ui.visible) a.setVisible(*ui.visible);
  if (ui.checkSet) {
    a.setCheckable(true);
    a.setChecked(ui.checked);
  }
}
