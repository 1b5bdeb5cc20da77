#pragma once

#include <optional>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"
#include "view/SceneObject.h"


// The view's scene handle: a tetrahedron whose centre is the handle's position, its Vector base.
// A drag moves it along chosen world axes so that it stays under the mouse ray.
class DragHandle : public Vector, public SceneObject {
public:
  DragHandle();

  SceneObject* pick(int x, int y, int option, PickRecord& record) override;
  // Reads the viewport and the model-view and projection matrices from the current context.
  void drag(int reservedA, int reservedB, int x, int y, int axisSet) override;
  void draw(int option) override;

  // Carries handle-relative model coordinates into the frame of the mouse ray from the near
  // point towards the far point (z along the ray, origin at the near point); none when the ray has
  // no frame.
  std::optional<Matrix> rayFrame(const Vector& nearPoint, const Vector& farPoint) const;
  // Moves each coordinate of the axis set to where its axis passes closest to the ray whose frame
  // is given; a solution 100 or more away, or an axis along the ray, leaves it where it is.
  void moveTowardsRay(const Matrix& frame, int axisSet);

  double edgeLength = 3.0;
  float colour[3] = {0.7f, 0.2f, 0.8f};
};
