#include "view/OpenGlQuadStripSink.h"

#include <GL/gl.h>


void OpenGlQuadStripSink::beginStrip() { glBegin(GL_QUAD_STRIP); }
void OpenGlQuadStripSink::normal(const double n[3]) { glNormal3dv(n); }
void OpenGlQuadStripSink::vertex(const double p[3]) { glVertex3dv(p); }
void OpenGlQuadStripSink::endStrip() { glEnd(); }
