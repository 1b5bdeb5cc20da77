#pragma once

#include <array>

// The hexcone HLS colour model, hue in degrees, in float arithmetic throughout. A highlighted
// scene object takes its colour through a round trip of these.

// (r, g, b) in 0..1 to (h, l, s): h in [0, 360), 0 for greys.
std::array<float, 3> rgbToHls(float r, float g, float b);
// (h, l, s) back to (r, g, b).
std::array<float, 3> hlsToRgb(float h, float l, float s);
// One colour component at the given hue, between the lightness bounds m1 and m2.
float hueToComponent(float hue, float m1, float m2);
