#pragma once

// What the view tests share: views on a real OpenGL context under Mesa, the geometry of a fresh
// view and the colours of its picture.
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "sim/Simulation.h"
#include "view/CLoomwiseView.h"
#include "view/ClothDocument.h"

// A document holding the default cloth that counts its steps.
class CountingDocument : public ClothDocument {
public:
  Simulation& simulation() override { return sim; }
  SimulationClock::Report takeSteps(std::int64_t n) override {
    SimulationClock::Report report;
    for (; report.steps < n && !report.diverged; ++report.steps) {
      ++steps;
      sim.step();
      if (duringStep) duringStep();
      report.diverged = steps == divergeAtStep;
    }
    return report;
  }
  void settleSteps(const SimulationClock::Report& report) override {
    if (report.diverged) runTimer.stop();
    if (afterSteps) afterSteps();
  }

  Simulation sim{1};
  Cloth& cloth = sim.cloth();
  int steps = 0;
  std::function<void()> duringStep;  // on the stepping thread in a real-time tick
  std::function<void()> afterSteps;
  int divergeAtStep = -1;  // the step that reports the sheet diverged
};

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

// The views a test opens, which its cleanup clears, and the documents it gives them.
class TestViews {
public:
  // A view of the document (or of none), shown at the size; none if it never got exposed. The
  // document, made with new, is kept here from then on.
  CLoomwiseView* open(ClothDocument* document, QSize size = QSize(kWidth, kHeight)) {
    all.push_back(std::make_unique<CLoomwiseView>());
    CLoomwiseView* view = all.back().get();
    if (document != nullptr) adopt(*document).addView(*view);
    view->resize(size);
    view->show();
    return QTest::qWaitForWindowExposed(view) ? view : nullptr;
  }

  std::vector<std::unique_ptr<ClothDocument>> documents;  // before the views, which leave them first
  std::vector<std::unique_ptr<CLoomwiseView>> all;

private:
  ClothDocument& adopt(ClothDocument& document) {
    const auto owns = [&document](const std::unique_ptr<ClothDocument>& d) { return d.get() == &document; };
    if (std::none_of(documents.begin(), documents.end(), owns)) documents.emplace_back(&document);
    return document;
  }
};
