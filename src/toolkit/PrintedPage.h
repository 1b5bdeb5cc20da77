#pragma once

class QImage;
class QPainter;
class QRect;

// Draws `picture` as large as it fits on `page`, keeping its proportions, centred.
void paintPictureOnPage(QPainter& painter, const QRect& page, const QImage& picture);
