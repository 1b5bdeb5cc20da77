#pragma once

#include "cloth/Vec3.h"

class Cloth;

// A stage of the step that corrects the positions the integration gave, after it and before the
// divergence check: a collider pushing nodes out of itself, the sheet keeping off itself. It may
// move free nodes only, in both `positions` and `previousPositions` as its velocity rule needs.
class CollisionPass {
public:
  virtual ~CollisionPass() = default;
  virtual void apply(Cloth& cloth) = 0;
  // The way out of a surface of this pass that p rests on (lies within the pass's thickness of,
  // and a little), or zero: a later pass must not push a node there into it.
  virtual Vec3 supportAt(const Vec3& p) const {
    static_cast<void>(p);
    return {};
  }
};
