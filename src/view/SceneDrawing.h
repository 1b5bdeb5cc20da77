#pragma once

class Matrix;
class Vector;

// The axes and their arrowheads, drawn with OpenGL into the current context.

// The three axes of length a in the placement's coordinates: red x, green y, blue z, each a line
// from its end to the origin with a cone at the end.
void drawAxes(const Matrix& placement, double a);
// A lit cone whose base circle of radius R is centred on p, perpendicular to v, apex at p + v.
void drawCone(const Vector& p, const Vector& v, double R);
// A regular tetrahedron of edge s centred on p, one face pointing down -z and its apex up +z, in
// the given colour (float RGB) or, without one, in the current colour.
void drawTetrahedron(const Vector& p, double s, const float* colour);
// Unlit grey lines every `step` on the horizontal plane at `height`, over the square of
// `halfSize` about the vertical axis: a floor for the eye to judge heights against.
void drawFloorGrid(double height, double halfSize, double step);
