#include "view/HlsColour.h"

#include <algorithm>

namespace {

// The component ramps divide by 60 as a multiplication by this float.
constexpr float kOneSixtieth = 1.0f / 60.0f;

}  // namespace

std::array<float, 3> rgbToHls(float r, float g, float b) {
  const float max = std::max({r, g, b});
  const float min = std::min({r, g, b});
  const float l = (max + min) / 2;
  if (max == min) return {0.0f, l, 0.0f};
  const float d = max - min;
  const float s = l <= 0.5f ? d / (max + min) : d / (2 - max - min);
  float h;
  if (r == max)
    h = 60 * (g - b) / d;
  else if (g == max)
    h = 120 + 60 * (b - r) / d;
  else
    h = 240 + 60 * (r - g) / d;
  if (h < 0) h += 360;
  return {h, l, s};
}

std::array<float, 3> hlsToRgb(float h, float l, float s) {
  const float m2 = l <= 0.5f ? l * (1 + s) : l + s - l * s;
  const float m1 = 2 * l - m2;
  if (s == 0) return {l, l, l};
  return {hueToComponent(h + 120, m1, m2), hueToComponent(h, m1, m2), hueToComponent(h - 120, m1, m2)};
}

float hueToComponent(float hue, float m1, float m2) {
  if (hue < 0)
    hue += 360;
  else if (hue > 360)
    hue -= 360;
  if (hue < 60) return m1 + (m2 - m1) * hue * kOneSixtieth;
  if (hue < 180) return m2;
  if (hue < 240) return m1 + (m2 - m1) * (240 - hue) * kOneSixtieth;
  return m1;
}
