#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

class CommandTarget;
class QAction;
class QMenu;
class QWidget;

// One QAction per command id, shared by menus, toolbar and shortcuts. A triggered action is
// offered to the targets of the current route in order, and the first that handles it runs it.
// Before a menu opens, after every command and on a short idle timer, each action is enabled and
// checked as the first target with an update or command handler says; nobody's means disabled.
class CommandRouter : public QObject {
  Q_OBJECT
public:
  using Route = std::function<std::vector<CommandTarget*>()>;
  static constexpr int kIdleUpdateMs = 100;

  // Actions are owned by `window` and added to it, so their shortcuts work wherever they appear.
  CommandRouter(QWidget& window, Route route);

  QAction* action(int id);  // made on first use
  QAction* find(int id) const;  // none when never made
  // Runs `id` on the first target of the route that handles it; false when none does.
  bool dispatch(int id);
  void updateAll();
  // Brings the menu's actions up to date each time before it opens.
  void watch(QMenu& menu);

private:
  void updateAction(int id, QAction& action, const std::vector<CommandTarget*>& targets);

  QWidget& window;
  Route route;
  std::map<int, QAction*> actions;
  QTimer idle;
};
