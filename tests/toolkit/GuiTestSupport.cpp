#include "GuiTestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

void prepareGuiTestEnvironment() {
  static QTemporaryDir place;
  const QString runtime = place.filePath(QStringLiteral("runtime"));
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", place.filePath(QStringLiteral("config")).toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, place.filePath(QStringLiteral("config")));
  QStandardPaths::setTestModeEnabled(true);
}

QObject& modalWaits() {
  static QObject waits;
  return waits;
}

void stopWaitingForModals() { qDeleteAll(modalWaits().children()); }

QStringList leakedWindows() {
  QStringList leaked;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (QLatin1String(w->metaObject()->className()) == QLatin1String("QTipLabel")) continue;
    leaked << QStringLiteral("%1 \"%2\"").arg(QLatin1String(w->metaObject()->className()), w->windowTitle());
  }
  return leaked;
}

void typeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

Refusal pressOkExpectingRefusal(QDialog* dialog) {
  Refusal refusal;
  whenModal<QMessageBox>([&refusal](QMessageBox* box) {
    refusal.message = box->text();
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTest::keyClick(dialog, Qt::Key_Return);
  refusal.stillOpen = dialog->isVisible();
  if (QWidget* focus = dialog->focusWidget()) refusal.focused = focus->objectName();
  return refusal;
}

bool showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

// Last: the X headers define macros that clash with Qt's names.
#include <X11/XKBlib.h>

void setCapsLock(bool on) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  XkbLockModifiers(x11->display(), XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(x11->display(), False);
}
