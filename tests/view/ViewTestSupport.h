#pragma once

// What the view tests share: views on a real OpenGL context under Mesa, the geometry of a fresh
// view and the colours of its picture.
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QTest>
#include <memory>
#include <vector>

#include "view/CLoomwiseView.h"
#include "view/ClothDocument.h"

// An odd size puts the world origin on a pixel centre: pixel (200, 150) of 401 × 301.
constexpr int kWidth = 401, kHeight = 301, kCentreX = 200, kCentreY = 150;
// At the initial scale one pixel spans 0.02 world units.
constexpr int kPixelsPerUnit = 50;

// Where a fresh view's mouse picks the world point (x, y): the pick region is centred on the
// window point (mouse x, height - mouse y), and the world origin lies at (200.5, 150.5) of it.
inline QPoint pickPoint(double x, double y) {
  return QPoint(qRound(kCentreX + 0.5 + kPixelsPerUnit * x), qRound(kCentreY + 0.5 - kPixelsPerUnit * y));
}

inline bool isRed(QRgb c) { return qRed(c) > 20 && qGreen(c) == 0 && qBlue(c) == 0; }
inline bool isGreen(QRgb c) { return qGreen(c) > 20 && qRed(c) == 0 && qBlue(c) == 0; }
inline bool isBlue(QRgb c) { return qBlue(c) > 20 && qRed(c) == 0 && qGreen(c) == 0; }
inline bool isBlack(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }
inline bool isGrey(QRgb c) { return qRed(c) > 0 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); }

// The views a test opens; its cleanup clears them.
class TestViews {
public:
  // A view of the document (or of none), shown at the size; none if it never got exposed.
  CLoomwiseView* open(ClothDocument* document, QSize size = QSize(kWidth, kHeight)) {
    all.push_back(std::make_unique<CLoomwiseView>());
    CLoomwiseView* view = all.back().get();
    if (document != nullptr) document->addView(*view);
    view->resize(size);
    view->show();
    return QTest::qWaitForWindowExposed(view) ? view : nullptr;
  }

  std::vector<std::unique_ptr<CLoomwiseView>> all;
};
