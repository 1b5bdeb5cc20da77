#pragma once

class Cloth;

// A stage of the step that corrects the positions the integration gave, after it and before the
// divergence check: a collider pushing nodes out of itself, the sheet keeping off itself. It may
// move free nodes only, in both `positions` and `previousPositions` as its velocity rule needs.
class CollisionPass {
public:
  virtual ~CollisionPass() = default;
  virtual void apply(Cloth& cloth) = 0;
};
