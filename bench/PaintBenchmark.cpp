// One paint of the view's scene into an offscreen framebuffer, rasterised to the end (glFinish),
// for the default cloth and the largest: what each repaint of a running view costs. CPU time is
// the process's, so it includes the software rasteriser's threads.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <GL/gl.h>
#include <memory>
#include <string>

#include "BenchmarkNames.h"
#include "Benchmarks.h"
#include "ClothSetups.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "sim/Simulation.h"
#include "view/CLoomwiseView.h"
#include "view/ClothDocument.h"

namespace {

class BenchDocument : public ClothDocument {
public:
  explicit BenchDocument(const ClothShape& shape) : sim(1, shape) {}
  Simulation& simulation() override { return sim; }
  SimulationClock::Report takeSteps(std::int64_t steps) override { return SimulationClock(sim).advance(steps); }
  Simulation sim;
};

// The display connection and an offscreen OpenGL context, made once for all paint benchmarks.
struct OffscreenGl {
  OffscreenGl() {
    static int argc = 1;
    static char name[] = "loomwise-bench";
    static char* argv[] = {name, nullptr};
    CLoomwiseView::requestPixelFormat();
    app = std::make_unique<QApplication>(argc, argv);
    // Both need the application.
    surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(QSurfaceFormat::defaultFormat());
    surface->create();
    context = std::make_unique<QOpenGLContext>();
    context->setFormat(QSurfaceFormat::defaultFormat());
    ready = context->create() && context->makeCurrent(surface.get());
  }
  ~OffscreenGl() {
    context.reset();
    surface.reset();
  }
  std::unique_ptr<QApplication> app;
  std::unique_ptr<QOffscreenSurface> surface;
  std::unique_ptr<QOpenGLContext> context;
  bool ready = false;
};

void paint(benchmark::State& state, OffscreenGl* gl, ClothShape shape) {
  if (!gl->ready) {
    state.SkipWithError("no OpenGL context (no display?)");
    return;
  }
  CLoomwiseView view;
  auto* document = new BenchDocument(shape);  // dies with its view
  // A sheet in motion, not a flat one; XPBD, as the explicit step would blow up the fine one.
  document->sim.setSolver(Solver::Xpbd);
  document->advance(200);
  document->addView(view);
  if (!clothsetups::allFinite(document->sim.cloth())) {
    state.SkipWithError("the sheet diverged");
    return;
  }
  const QSize size = view.sizeHint();
  QOpenGLFramebufferObject target(size, QOpenGLFramebufferObject::Depth);
  target.bind();
  view.setUpGLState();
  CLoomwiseView::setProjection(size.width(), size.height(), view.viewScale, -100.0, 100.0);
  for (auto _ : state) {
    view.renderScene();
    glFinish();
  }
  target.release();
}

}  // namespace

// Without a display Qt cannot start at all and would end the whole program: the step and frame
// benchmarks then run alone.
void registerPaintBenchmarks() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    std::fputs("loomwise-bench: no display, so the Paint benchmarks are left out (make bench runs them under Xvfb)\n",
               stderr);
    return;
  }
  static OffscreenGl gl;
  for (const ClothShape& shape : {ClothShape{0.25f, 17, 10}, ClothShape{0.05f, 100, 100}}) {
    const std::string name = std::string(benchmarknames::kPaint) + "/" + benchmarknames::size(shape);
    benchmark::RegisterBenchmark(name.c_str(), paint, &gl, shape)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
  }
}
