// The Loomwise desktop program.
#include <QApplication>

#include "app/CLoomwiseApp.h"
#include "view/CLoomwiseView.h"

int main(int argc, char** argv) {
  // The views' pixel format must be the default before the application exists.
  CLoomwiseView::requestPixelFormat();
  QApplication qt(argc, argv);
  CLoomwiseApp app(QApplication::arguments().mid(1));
  if (!app.InitInstance()) return 1;
  return QApplication::exec();
}
