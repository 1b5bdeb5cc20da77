// The Loomwise desktop program.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "LoomwiseVersion.h"
#include "app/CLoomwiseApp.h"
#include "view/CLoomwiseView.h"

namespace {

constexpr const char* kUsage =
    "Usage: loomwise [FILE]\n"
    "Starts Loomwise with a new cloth, asking for its node spacing and size, or with FILE opened\n"
    "as a cloth of the default size.\n"
    "\n"
    "Options:\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n";

// Answered before Qt starts, so that they work without a display. Returns true when answered.
bool answeredFromTheCommandLine(int argc, char** argv) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return true;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::puts("loomwise (Loomwise) " LOOMWISE_VERSION);
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (answeredFromTheCommandLine(argc, argv)) return 0;
  // The views' pixel format must be the default before the application exists.
  CLoomwiseView::requestPixelFormat();
  QApplication qt(argc, argv);
  // Ties the windows to the installed desktop entry (its icon and name in the task switcher).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.loomwise.loomwise"));
  CLoomwiseApp app(QApplication::arguments().mid(1));
  if (!app.InitInstance()) return 1;
  return QApplication::exec();
}
