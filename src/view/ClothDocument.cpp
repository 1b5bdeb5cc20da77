#include "view/ClothDocument.h"

#include "cloth/NodeBuffer.h"
#include "sim/Simulation.h"

ClothDocument::ClothDocument(DocumentHost* host) : Document(host) {}

ClothDocument::~ClothDocument() = default;

const NodeBuffer* ClothDocument::shownFrame() const { return runTimer.stepping() ? published_.get() : keptFrame(); }

void ClothDocument::publishPositions() {
  const Cloth& cloth = simulation().cloth();
  if (!cloth.hasGrid()) {
    published_.reset();
    return;
  }
  if (published_ == nullptr || published_->count() != cloth.nodeCount())
    published_ = std::make_unique<NodeBuffer>(cloth.nodeCount());
  published_->assign(*cloth.positions);
}
