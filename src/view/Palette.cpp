#include "view/Palette.h"

const std::array<std::uint8_t, 8> threeBitLevels = {0, 36, 73, 109, 146, 182, 219, 255};
const std::array<std::uint8_t, 4> twoBitLevels = {0, 85, 170, 255};
const std::array<std::uint8_t, 2> oneBitLevels = {0, 255};

const std::array<ColourOverride, 12> systemColourOverrides = {{
    {3, 128, 0, 0},
    {24, 0, 128, 0},
    {27, 128, 128, 0},
    {64, 0, 0, 128},
    {67, 128, 0, 128},
    {88, 0, 128, 128},
    {173, 192, 192, 192},
    {181, 192, 220, 192},
    {236, 166, 202, 240},
    {247, 255, 251, 240},
    {164, 160, 160, 164},
    {91, 128, 128, 128},
}};

namespace {

constexpr int kMaxPaletteBits = 8;

bool isThreeThreeTwo(const PixelFormatDescription& f) {
  return f.colourBits == 8 && f.redBits == 3 && f.redShift == 0 && f.greenBits == 3 && f.greenShift == 3 &&
         f.blueBits == 2 && f.blueShift == 6;
}

}  // namespace

std::uint8_t paletteComponent(unsigned index, int bits, int shift) {
  // Shifting by the width of the index or more is undefined; no component lies there.
  const unsigned v = shift >= 0 && shift < 32 ? index >> shift : 0;
  switch (bits) {
    case 1: return oneBitLevels[v & 1];
    case 2: return twoBitLevels[v & 3];
    case 3: return threeBitLevels[v & 7];
    default: return 0;
  }
}

bool buildRgbPalette(const PixelFormatDescription& format, std::vector<PaletteEntry>& palette) {
  if (!format.needsPalette || format.colourBits < 1 || format.colourBits > kMaxPaletteBits) return false;
  std::vector<PaletteEntry> entries(std::size_t{1} << format.colourBits);
  for (unsigned i = 0; i < entries.size(); ++i) {
    entries[i].red = paletteComponent(i, format.redBits, format.redShift);
    entries[i].green = paletteComponent(i, format.greenBits, format.greenShift);
    entries[i].blue = paletteComponent(i, format.blueBits, format.blueShift);
  }
  if (isThreeThreeTwo(format)) {
    for (const ColourOverride& o : systemColourOverrides) entries[o.slot] = {o.red, o.green, o.blue, 0};
  }
  palette = std::move(entries);
  return true;
}
