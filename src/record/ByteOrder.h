#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// Appends 32-bit values in a stated byte order, whatever the processor's own. The byte stores
// compile to one plain or byte-swapped store each.
namespace byteorder {

using Bytes = std::vector<unsigned char>;

inline std::uint32_t bitsOf(std::uint32_t value) { return value; }
inline std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline void putLittle(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

inline void putBig(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

template <typename Value>
void appendLittle(Bytes& out, Value value) {
  out.resize(out.size() + 4);
  putLittle(out.data() + out.size() - 4, bitsOf(value));
}

template <typename Value>
void appendBig(Bytes& out, Value value) {
  out.resize(out.size() + 4);
  putBig(out.data() + out.size() - 4, bitsOf(value));
}

// Every value in turn, little-endian or big-endian.
template <typename Value>
void appendAll(Bytes& out, const std::vector<Value>& values, bool bigEndian = false) {
  const std::size_t at = out.size();
  out.resize(at + 4 * values.size());
  unsigned char* p = out.data() + at;
  if (bigEndian) {
    for (std::size_t i = 0; i < values.size(); ++i) putBig(p + 4 * i, bitsOf(values[i]));
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) putLittle(p + 4 * i, bitsOf(values[i]));
  }
}

}  // namespace byteorder
