#include "AppTestDriver.h"

#include <QFile>

bool AppTestDriver::start(const QStringList& arguments) {
  app = std::make_unique<CLoomwiseApp>(arguments);
  if (arguments.isEmpty())
    whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
  return app->InitInstance() && showActive(frame());
}

std::vector<CLoomwiseDoc*> AppTestDriver::documents() const {
  std::vector<CLoomwiseDoc*> all;
  for (Document* d : app->documentManager()->documents()) all.push_back(dynamic_cast<CLoomwiseDoc*>(d));
  return all;
}

QToolButton* AppTestDriver::button(int id) const {
  for (QToolBar* bar : frame().findChildren<QToolBar*>())
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(action(id)))) return b;
  return nullptr;
}

bool AppTestDriver::chooseMenu(const QString& menu, const QString& item) {
  QMenuBar* bar = frame().menuBar();
  QAction* title = nullptr;
  for (QAction* a : bar->actions())
    if (a->text() == menu) title = a;
  if (title == nullptr) return false;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
  QMenu* popup = title->menu();
  if (!QTest::qWaitFor([&] { return popup->isVisible(); })) return false;
  QAction* entry = nullptr;
  for (QAction* a : popup->actions())
    if (a->text() == item && a->isVisible()) entry = a;
  if (entry == nullptr || !entry->isEnabled()) {
    popup->close();
    return false;
  }
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
  return true;
}

bool AppTestDriver::newDocument() {
  const std::size_t before = documents().size();
  auto step = whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
  return chooseMenu("&File", "&New\tCtrl+N") && step->ran && documents().size() == before + 1;
}

QString AppTestDriver::file(const QString& name, const QByteArray& content) const {
  const QString path = files.filePath(name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(content);
  return path;
}
