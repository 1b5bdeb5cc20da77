// Command routing: the first target of the route that handles a command runs it, and the
// actions' enabled and checked states follow the update handlers.
#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "GuiTestSupport.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/CommandTarget.h"

namespace {

class Target : public CommandTarget {
public:
  explicit Target(QString name) : name(std::move(name)) {}
  void handle(int id, QStringList& log) {
    onCommand(id, [this, &log] { log << name; });
  }
  void check(int id, const bool& state) {
    onUpdate(id, [&state](CommandUi& ui) { ui.setChecked(state); });
  }
  void enableWhen(int id, const bool& state) {
    onUpdate(id, [&state](CommandUi& ui) { ui.setEnabled(state); });
  }
  void onCommandDo(int id, std::function<void()> action) { onCommand(id, std::move(action)); }
  QString name;
};

}  // namespace

class CommandRouterTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QMainWindow> window;
  std::vector<Target*> route;
  std::unique_ptr<CommandRouter> router;

private slots:
  void init() {
    window = std::make_unique<QMainWindow>();
    route.clear();
    router = std::make_unique<CommandRouter>(*window, [this] {
      return std::vector<CommandTarget*>(route.begin(), route.end());
    });
  }
  void cleanup() {
    router.reset();
    window.reset();
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void theFirstTargetThatHandlesACommandRunsIt() {
    QStringList log;
    Target view("view"), document("document"), frame("frame");
    document.handle(7, log);
    frame.handle(7, log);
    frame.handle(8, log);
    route = {&view, &document, &frame};
    QVERIFY(router->dispatch(7));
    QVERIFY(router->dispatch(8));
    QVERIFY(!router->dispatch(9));
    QCOMPARE(log, QStringList({"document", "frame"}));
    QAction* seven = router->action(7);
    router->updateAll();
    seven->trigger();
    QCOMPARE(log.last(), QStringLiteral("document"));
    QCOMPARE(log.size(), 3);
  }

  void commandsNobodyHandlesAreGreyed() {
    QStringList log;
    Target app("app");
    app.handle(1, log);
    route = {&app};
    QAction* handled = router->action(1);
    QAction* orphan = router->action(2);
    router->updateAll();
    QVERIFY(handled->isEnabled());
    QVERIFY(!orphan->isEnabled());
    QVERIFY(!handled->isCheckable());
    route.clear();  // the handler's target left the route
    router->updateAll();
    QVERIFY(!handled->isEnabled());
  }

  // An update handler early in the route decides, even over a later target's command handler.
  void theFirstUpdateHandlerDecides() {
    QStringList log;
    bool enabled = false, checked = true;
    Target view("view"), frame("frame");
    view.enableWhen(3, enabled);
    frame.handle(3, log);
    frame.check(4, checked);
    route = {&view, &frame};
    QAction* three = router->action(3);
    QAction* four = router->action(4);
    router->updateAll();
    QVERIFY(!three->isEnabled());
    QVERIFY(four->isEnabled() && four->isCheckable() && four->isChecked());
    enabled = true;
    checked = false;
    // No explicit update: the idle timer brings the actions up to date.
    QTRY_VERIFY(three->isEnabled());
    QTRY_VERIFY(!four->isChecked());
  }

  // A checkable action toggles itself when clicked; after the command the handler's state wins.
  void theCheckFollowsTheStateAfterACommand() {
    bool running = false;
    Target view("view");
    view.check(5, running);
    route = {&view};
    QAction* run = router->action(5);
    router->updateAll();
    run->trigger();  // toggles the check, but no handler changes the state
    QVERIFY(!run->isChecked());
  }

  void aMenuIsUpdatedBeforeItOpens() {
    bool enabled = false;
    Target frame("frame");
    frame.enableWhen(6, enabled);
    route = {&frame};
    QMenu menu(window.get());
    menu.addAction(router->action(6));
    router->watch(menu);
    router->updateAll();
    enabled = true;
    emit menu.aboutToShow();
    QVERIFY(router->action(6)->isEnabled());
  }

  void aHandlerMayDeleteItsOwnTarget() {
    auto closing = std::make_unique<Target>("document");
    closing->onCommandDo(10, [&] {
      closing.reset();  // as File > Close deletes its document
      route.clear();
    });
    route = {closing.get()};
    QVERIFY(router->dispatch(10));  // updateAll runs after it on the new route
    QVERIFY(closing == nullptr);
  }
};

LOOMWISE_GUI_TEST_MAIN(CommandRouterTest, nullptr)
#include "tst_CommandRouter.moc"
