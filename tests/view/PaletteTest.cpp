#include "view/Palette.h"

#include <gtest/gtest.h>

namespace {

// The 8-bit display layout the system colours are meant for: red 3 bits at 0, green 3 at 3,
// blue 2 at 6.
PixelFormatDescription threeThreeTwo() {
  PixelFormatDescription f;
  f.colourBits = 8;
  f.redBits = 3, f.redShift = 0;
  f.greenBits = 3, f.greenShift = 3;
  f.blueBits = 2, f.blueShift = 6;
  f.needsPalette = true;
  return f;
}

void expectColour(const PaletteEntry& e, int r, int g, int b) {
  EXPECT_EQ(e.red, r);
  EXPECT_EQ(e.green, g);
  EXPECT_EQ(e.blue, b);
  EXPECT_EQ(e.flags, 0);
}

}  // namespace

TEST(PaletteComponent, MapsEachWidthThroughItsLevelTable) {
  EXPECT_EQ(paletteComponent(0, 3, 0), 0);
  EXPECT_EQ(paletteComponent(7, 3, 0), 255);
  EXPECT_EQ(paletteComponent(4, 3, 0), 146);
  EXPECT_EQ(paletteComponent(0b101000, 3, 3), 182);  // bits 3..5 hold 5
  EXPECT_EQ(paletteComponent(0b10000000, 2, 6), 170);
  EXPECT_EQ(paletteComponent(0b11000000, 2, 6), 255);
  EXPECT_EQ(paletteComponent(1, 1, 0), 255);
  EXPECT_EQ(paletteComponent(2, 1, 0), 0);
}

TEST(PaletteComponent, MasksOffTheBitsAboveTheComponent) {
  // Only the low `bits` of the shifted index count.
  EXPECT_EQ(paletteComponent(0xFF, 3, 0), 255);
  EXPECT_EQ(paletteComponent(0b11111010, 3, 0), 73);
  EXPECT_EQ(paletteComponent(0b111, 2, 1), 255);
}

TEST(PaletteComponent, OtherWidthsGiveZero) {
  for (int bits : {0, 4, 5, 8, -1}) EXPECT_EQ(paletteComponent(0xFF, bits, 0), 0) << bits;
}

TEST(PaletteComponent, ShiftsBeyondTheIndexGiveNoBits) {
  EXPECT_EQ(paletteComponent(0xFFFFFFFFu, 3, 32), 0);
  EXPECT_EQ(paletteComponent(0xFFFFFFFFu, 3, -1), 0);
  EXPECT_EQ(paletteComponent(0xFFFFFFFFu, 1, 31), 255);
}

TEST(BuildRgbPalette, TrueColourFormatsGetNoPalette) {
  PixelFormatDescription trueColour;
  trueColour.colourBits = 24;
  trueColour.redBits = trueColour.greenBits = trueColour.blueBits = 8;
  std::vector<PaletteEntry> palette(3);
  EXPECT_FALSE(buildRgbPalette(trueColour, palette));
  EXPECT_EQ(palette.size(), 3u);  // the slot is left alone
}

TEST(BuildRgbPalette, ThreeThreeTwoGetsTheLevelsAndTheSystemColours) {
  std::vector<PaletteEntry> palette;
  ASSERT_TRUE(buildRgbPalette(threeThreeTwo(), palette));
  ASSERT_EQ(palette.size(), 256u);
  expectColour(palette[0], 0, 0, 0);
  expectColour(palette[255], 255, 255, 255);
  expectColour(palette[3], 128, 0, 0);     // overridden
  expectColour(palette[7], 255, 0, 0);     // the level rule: red 7, green 0, blue 0
  expectColour(palette[8], 0, 36, 0);      // green 1
  expectColour(palette[64], 0, 0, 128);    // overridden (blue level 1 would be 85)
  expectColour(palette[128], 0, 0, 170);   // blue 2
  expectColour(palette[164], 160, 160, 164);
  expectColour(palette[91], 128, 128, 128);
  for (const ColourOverride& o : systemColourOverrides) expectColour(palette[o.slot], o.red, o.green, o.blue);
}

TEST(BuildRgbPalette, OtherEightBitLayoutsKeepTheLevelRule) {
  PixelFormatDescription f = threeThreeTwo();
  f.redShift = 5, f.blueShift = 0, f.blueBits = 2, f.greenShift = 2;  // blue low, red high
  std::vector<PaletteEntry> palette;
  ASSERT_TRUE(buildRgbPalette(f, palette));
  expectColour(palette[3], 0, 0, 255);  // not the system colour of slot 3
  expectColour(palette[24], 0, 219, 0);
}

TEST(BuildRgbPalette, ComponentsOfOtherWidthsAreZeroEverywhere) {
  PixelFormatDescription f = threeThreeTwo();
  f.colourBits = 6;
  f.redBits = 4;  // no level table for 4 bits
  f.greenBits = 1, f.greenShift = 4;
  f.blueBits = 1, f.blueShift = 5;
  std::vector<PaletteEntry> palette;
  ASSERT_TRUE(buildRgbPalette(f, palette));
  ASSERT_EQ(palette.size(), 64u);
  for (const PaletteEntry& e : palette) EXPECT_EQ(e.red, 0);
  expectColour(palette[63], 0, 255, 255);
}

TEST(BuildRgbPalette, RefusesIndexesWiderThanAPalette) {
  PixelFormatDescription f = threeThreeTwo();
  f.colourBits = 32;  // 2^32 entries would not even be countable
  std::vector<PaletteEntry> palette;
  EXPECT_FALSE(buildRgbPalette(f, palette));
  f.colourBits = 0;
  EXPECT_FALSE(buildRgbPalette(f, palette));
  EXPECT_TRUE(palette.empty());
}
