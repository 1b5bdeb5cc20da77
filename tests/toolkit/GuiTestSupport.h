#pragma once

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Prepares the process for a GUI test before the QApplication exists: settings and runtime files
// in a fresh temporary place, so a test run never touches the user's recent-file list.
void prepareGuiTestEnvironment();

// Runs the Qt Test class T. `beforeApplication` runs before the QApplication is made (the views'
// pixel format must be set there).
template <class T>
int runGuiTest(int argc, char** argv, void (*beforeApplication)() = nullptr) {
  prepareGuiTestEnvironment();
  if (beforeApplication != nullptr) beforeApplication();
  QApplication app(argc, argv);
  T test;
  return QTest::qExec(&test, argc, argv);
}

#define LOOMWISE_GUI_TEST_MAIN(TestClass, beforeApplication)                \
  int main(int argc, char** argv) {                                        \
    return runGuiTest<TestClass>(argc, argv, beforeApplication);           \
  }

// Shows a window and makes it the active one, as clicking it would; false if it never became
// active. (Without a window manager a new window is not activated by itself.)
bool showActive(QWidget& window);

class QDialog;
class QLineEdit;
// Replaces the field's text as a user does: focus, select all, type.
void typeInto(QLineEdit* edit, const QString& text);

// What a dialog did when its OK was refused.
struct Refusal {
  QString message;  // the refusal box's text; empty when no box came
  bool stillOpen = false;
  QString focused;  // object name of the dialog's focus widget afterwards
};
// Presses Enter in the dialog, answers the refusal box that should follow with Enter, and says what
// was seen.
Refusal pressOkExpectingRefusal(QDialog* dialog);

// Locks or unlocks Caps Lock on the X server, as pressing the key would.
void setCapsLock(bool on);

// Top-level windows that still exist (Qt's own tool tips aside); a test must leave none.
QStringList leakedWindows();

// Whether a step scheduled with whenModal has run.
struct ModalStep {
  bool ran = false;
};

// The parent of the pending whenModal waits.
QObject& modalWaits();
// Drops the waits still pending, so that none outlives its test and answers the next test's
// dialog.
void stopWaitingForModals();

// Runs `action` on the modal dialog of type T as soon as one is up and active: the way to drive a dialog
// whose modal loop the test itself is about to enter. Gives up after a few seconds.
template <class T>
std::shared_ptr<ModalStep> whenModal(std::function<void(T*)> action) {
  auto step = std::make_shared<ModalStep>();
  auto* poll = new QTimer(&modalWaits());
  auto deadline = std::make_shared<int>(2000);
  QObject::connect(poll, &QTimer::timeout, [poll, step, deadline, action] {
    T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    // Keys go to the focus widget, which a window has only once it is active.
    if (dialog != nullptr && !dialog->isActiveWindow()) dialog->activateWindow();
    if (dialog != nullptr && dialog->isActiveWindow()) {
      poll->stop();
      poll->deleteLater();
      step->ran = true;
      action(dialog);
    } else if (--*deadline == 0) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(5);
  return step;
}
