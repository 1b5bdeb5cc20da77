#include "view/HlsColour.h"

#include <gtest/gtest.h>

namespace {

void expectColour(const std::array<float, 3>& actual, float a, float b, float c) {
  EXPECT_FLOAT_EQ(actual[0], a);
  EXPECT_FLOAT_EQ(actual[1], b);
  EXPECT_FLOAT_EQ(actual[2], c);
}

}  // namespace

// The handle's colour and its way back: the red hue 290 + 120 = 410 is brought to 50.
TEST(HlsColour, TheHandleColourMakesTheRoundTrip) {
  expectColour(rgbToHls(0.7f, 0.2f, 0.8f), 290.0f, 0.5f, 0.6f);
  expectColour(hlsToRgb(290.0f, 0.5f, 0.6f), 0.7f, 0.2f, 0.8f);
}

TEST(HlsColour, HueFollowsTheLargestComponent) {
  expectColour(rgbToHls(0.8f, 0.8f, 0.2f), 60.0f, 0.5f, 0.6f);   // red and green tie: red decides
  expectColour(rgbToHls(0.2f, 0.8f, 0.5f), 150.0f, 0.5f, 0.6f);  // green largest
  expectColour(rgbToHls(0.8f, 0.2f, 0.5f), 330.0f, 0.5f, 0.6f);  // red, below zero: 360 added
}

// Above lightness 0.5 the saturation and the bounds take their other forms.
TEST(HlsColour, LightColoursUseTheUpperFormulas) {
  expectColour(rgbToHls(1.0f, 0.6f, 0.6f), 0.0f, 0.8f, 1.0f);
  expectColour(hlsToRgb(0.0f, 0.8f, 1.0f), 1.0f, 0.6f, 0.6f);  // m2 = 1, m1 = 0.6
}

TEST(HlsColour, GreysHaveNoHueOrSaturation) {
  expectColour(rgbToHls(0.3f, 0.3f, 0.3f), 0.0f, 0.3f, 0.0f);
  expectColour(hlsToRgb(200.0f, 0.3f, 0.0f), 0.3f, 0.3f, 0.3f);
}

TEST(HlsColour, HueToComponentRampsBetweenTheBounds) {
  EXPECT_FLOAT_EQ(hueToComponent(30.0f, 0.2f, 0.8f), 0.5f);   // rising
  EXPECT_FLOAT_EQ(hueToComponent(120.0f, 0.2f, 0.8f), 0.8f);  // top
  EXPECT_FLOAT_EQ(hueToComponent(200.0f, 0.2f, 0.8f), 0.6f);  // falling
  EXPECT_FLOAT_EQ(hueToComponent(300.0f, 0.2f, 0.8f), 0.2f);  // bottom
  EXPECT_FLOAT_EQ(hueToComponent(-60.0f, 0.2f, 0.8f), 0.2f);  // 300
  EXPECT_FLOAT_EQ(hueToComponent(410.0f, 0.2f, 0.8f), 0.7f);  // 50
  EXPECT_FLOAT_EQ(hueToComponent(360.0f, 0.2f, 0.8f), 0.2f);  // kept at 360, not brought to 0
}

// The ramps multiply by the float 1/60 (0.016666668) instead of dividing by 60. At hue 6 that
// lands one float above the one nearest 0.26, where the division would land on it.
TEST(HlsColour, TheRampMultipliesByTheFloatSixtieth) {
  EXPECT_EQ(hueToComponent(6.0f, 0.2f, 0.8f), 0.26000002f);
  EXPECT_NE(0.26000002f, 0.26f);
}
