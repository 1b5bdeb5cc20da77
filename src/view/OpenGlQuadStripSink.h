#pragma once

#include "cloth/QuadStripSink.h"

// Issues the strips as immediate-mode OpenGL quad strips into the current context.
class OpenGlQuadStripSink : public QuadStripSink {
public:
  void beginStrip() override;
  void normal(const double n[3]) override;
  void vertex(const double p[3]) override;
  void endStrip() override;
};
