#include "record/ClothMesh.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "cloth/Cloth.h"

namespace clothmesh {

namespace {

constexpr int kDigits = 9;  // significant digits of every coordinate

// to_chars never looks at the locale, and is several times faster than printf.
void appendGeneral(std::string& out, double value) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, kDigits);
  out.append(text, end.ptr);
}

// Writes `value` with nine significant digits in plain decimals, trailing zeros dropped, and
// returns the end. Several times faster than to_chars with a precision, which matters for a
// sequence of large meshes; values outside [1e-12, 1e9) go to to_chars. Needs 32 chars.
char* writeNumber(char* out, double value) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
                                       1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21};
  const double magnitude = std::abs(value);
  if (value == 0.0) {
    *out = '0';
    return out + 1;
  }
  if (!(magnitude >= 1e-12 && magnitude < 1e9))
    return std::to_chars(out, out + 32, value, std::chars_format::general, kDigits).ptr;
  int whole = 0;  // digits before the point (0 below 1)
  while (whole < 9 && magnitude >= kPowers[whole]) ++whole;
  int decimals = kDigits - whole;
  if (whole == 0)
    while (magnitude * kPowers[decimals - kDigits + 1] < 1.0) ++decimals;  // zeros right after the point
  // Rounds half away from zero; at most 10 digits (a carry such as 9.9999999996 → 10).
  std::uint64_t scaled = static_cast<std::uint64_t>(magnitude * kPowers[decimals] + 0.5);
  char digits[24];
  int count = 0;
  do {
    digits[23 - count++] = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0);
  const char* first = digits + 24 - count;
  if (value < 0.0) *out++ = '-';
  if (decimals >= count) {
    *out++ = '0';
    *out++ = '.';
    for (int z = count; z < decimals; ++z) *out++ = '0';
    std::memcpy(out, first, count);
    out += count;
  } else {
    std::memcpy(out, first, count - decimals);
    out += count - decimals;
    *out++ = '.';
    std::memcpy(out, first + count - decimals, decimals);
    out += decimals;
  }
  while (out[-1] == '0') --out;
  if (out[-1] == '.') --out;
  return out;
}

void appendIndex(std::string& out, int index) {
  char text[16];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, index);
  out.append(text, end.ptr);
}

double fraction(int i, int n) { return static_cast<double>(i) / (n - 1); }

}  // namespace

void nodePositions(const Cloth& cloth, std::vector<float>& out) {
  const NodeBuffer& nodes = *cloth.positions;
  out.resize(3 * static_cast<std::size_t>(nodes.count()));
  for (int k = 0; k < nodes.count(); ++k) {
    out[3 * k] = static_cast<float>(nodes.x[k]);
    out[3 * k + 1] = static_cast<float>(nodes.y[k]);
    out[3 * k + 2] = static_cast<float>(nodes.z[k]);
  }
}

std::vector<unsigned> triangleIndices(const Cloth& cloth) {
  std::vector<unsigned> indices;
  indices.reserve(6 * static_cast<std::size_t>(cloth.width - 1) * (cloth.height - 1));
  for (int r = 0; r + 1 < cloth.height; ++r) {
    for (int c = 0; c + 1 < cloth.width; ++c) {
      const unsigned a = r * cloth.width + c, b = a + cloth.width, d = a + 1;
      indices.insert(indices.end(), {a, b, b + 1, a, b + 1, d});
    }
  }
  return indices;
}

std::vector<float> textureCoordinates(const Cloth& cloth) {
  std::vector<float> uv;
  uv.reserve(2 * static_cast<std::size_t>(cloth.nodeCount()));
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      uv.push_back(static_cast<float>(fraction(c, cloth.width)));
      uv.push_back(static_cast<float>(fraction(r, cloth.height)));
    }
  }
  return uv;
}

std::string objHeader(const std::string& name, const std::string& comment) {
  return "# " + comment + "\no " + name + "\n";
}

std::string objVertices(const Cloth& cloth) {
  const NodeBuffer& nodes = *cloth.positions;
  constexpr std::size_t kLineBytes = 3 + 3 * 32;
  std::string text(kLineBytes * static_cast<std::size_t>(nodes.count()), '\0');
  char* p = text.data();
  for (int k = 0; k < nodes.count(); ++k) {
    *p++ = 'v';
    for (const double* axis : {nodes.x, nodes.y, nodes.z}) {
      *p++ = ' ';
      p = writeNumber(p, axis[k]);
    }
    *p++ = '\n';
  }
  text.resize(static_cast<std::size_t>(p - text.data()));
  return text;
}

std::string objTopology(const Cloth& cloth) {
  std::string text;
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      text += "vt ";
      appendGeneral(text, fraction(c, cloth.width));
      text += ' ';
      appendGeneral(text, fraction(r, cloth.height));
      text += '\n';
    }
  }
  // OBJ counts from 1; each corner uses its node's texture coordinate.
  for (int r = 0; r + 1 < cloth.height; ++r) {
    for (int c = 0; c + 1 < cloth.width; ++c) {
      const int a = r * cloth.width + c + 1, b = a + cloth.width;
      text += 'f';
      for (int corner : {a, b, b + 1, a + 1}) {
        text += ' ';
        appendIndex(text, corner);
        text += '/';
        appendIndex(text, corner);
      }
      text += '\n';
    }
  }
  return text;
}

}  // namespace clothmesh
