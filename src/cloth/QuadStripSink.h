#pragma once

// Where the cloth's drawing goes: OpenGL in the program, a recorder in tests.
class QuadStripSink {
public:
  virtual ~QuadStripSink() = default;
  virtual void beginStrip() = 0;
  virtual void normal(const double n[3]) = 0;
  virtual void vertex(const double p[3]) = 0;
  virtual void endStrip() = 0;
};
