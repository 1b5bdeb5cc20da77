#include "toolkit/KeyLocks.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace {

bool indicatorOn(Display* display, const char* name) {
  Bool on = False;
  const Atom atom = XInternAtom(display, name, True);
  if (atom == None) return false;
  XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr);
  return on;
}

}  // namespace

KeyLocks readKeyLocks() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return {};
  Display* display = x11->display();
  return {indicatorOn(display, "Caps Lock"), indicatorOn(display, "Num Lock"),
          indicatorOn(display, "Scroll Lock")};
}
