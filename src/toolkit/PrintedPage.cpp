#include "toolkit/PrintedPage.h"

#include <QImage>
#include <QPainter>

void paintPictureOnPage(QPainter& painter, const QRect& page, const QImage& picture) {
  if (picture.isNull() || page.isEmpty()) return;
  const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  QRect target(QPoint(0, 0), size);
  target.moveCenter(page.center());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture);
}
