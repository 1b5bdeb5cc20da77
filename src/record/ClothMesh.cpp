#include "record/ClothMesh.h"

#include <charconv>

#include "cloth/Cloth.h"

namespace clothmesh {

namespace {

// to_chars never looks at the locale, and is several times faster than printf.
void appendNumber(std::string& out, double value, int digits) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  out.append(text, end.ptr);
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
  std::string text;
  text.reserve(40 * static_cast<std::size_t>(nodes.count()));
  for (int k = 0; k < nodes.count(); ++k) {
    text += "v ";
    appendNumber(text, nodes.x[k], 9);
    text += ' ';
    appendNumber(text, nodes.y[k], 9);
    text += ' ';
    appendNumber(text, nodes.z[k], 9);
    text += '\n';
  }
  return text;
}

std::string objTopology(const Cloth& cloth) {
  std::string text;
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      text += "vt ";
      appendNumber(text, fraction(c, cloth.width), 9);
      text += ' ';
      appendNumber(text, fraction(r, cloth.height), 9);
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
