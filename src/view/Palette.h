#pragma once

// For indexed (8-bit) displays; kept for them although no pixel format Qt offers needs it yet.
#include <array>
#include <cstdint>
#include <vector>

// What the palette code needs to know of a pixel format.
struct PixelFormatDescription {
  int colourBits = 0;
  int redBits = 0, redShift = 0;
  int greenBits = 0, greenShift = 0;
  int blueBits = 0, blueShift = 0;
  bool needsPalette = false;  // an indexed display whose colours come from a logical palette
};

struct PaletteEntry {
  std::uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

struct ColourOverride {
  int slot;
  std::uint8_t red, green, blue;
};

// The 8-bit levels of 3-, 2- and 1-bit colour components.
extern const std::array<std::uint8_t, 8> threeBitLevels;
extern const std::array<std::uint8_t, 4> twoBitLevels;
extern const std::array<std::uint8_t, 2> oneBitLevels;
// The system's reserved colours, which keep their usual look on a 3-3-2 palette; applied in order.
extern const std::array<ColourOverride, 12> systemColourOverrides;

// The 8-bit level of the component `bits` wide at `shift` in palette index `index`; 0 for a width
// other than 1, 2 or 3 bits.
std::uint8_t paletteComponent(unsigned index, int bits, int shift);

// Fills `palette` with the colours of every index of a palette format, with the system colours on
// a 3-3-2 layout. False, leaving `palette` alone, for a format that needs no palette or whose
// index is wider than a palette can be (8 bits).
bool buildRgbPalette(const PixelFormatDescription& format, std::vector<PaletteEntry>& palette);
