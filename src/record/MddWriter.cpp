#include "record/MddWriter.h"

#include "cloth/Cloth.h"

void MddWriter::encode(std::vector<float>& positions, byteorder::Bytes& out) {
  byteorder::appendAll(out, positions, true);
}

byteorder::Bytes MddWriter::head() const {
  byteorder::Bytes head;
  byteorder::appendBig(head, static_cast<std::uint32_t>(frames()));
  byteorder::appendBig(head, static_cast<std::uint32_t>(cloth_.nodeCount()));
  for (int k = 0; k < frames(); ++k) byteorder::appendBig(head, secondsOf(firstFrame_ + k));
  return head;
}
