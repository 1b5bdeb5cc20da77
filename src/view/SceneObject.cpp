#include "view/SceneObject.h"

#include <GL/gl.h>
#include <cstdint>

#include "linalg/Matrix.h"

static_assert(sizeof(GLuint) == sizeof(std::uint32_t), "the selection buffer is handed to OpenGL as is");

SceneObject* SceneObject::pick(int, int, int option, PickRecord& record) {
  std::uint32_t* const selectionBuffer = record.selectionBuffer;
  glSelectBuffer(PickRecord::kSelectionBufferSize, selectionBuffer);
  glRenderMode(GL_SELECT);
  draw(option);
  glFlush();
  // The number of hit records; negative when the buffer overflowed.
  if (glRenderMode(GL_RENDER) <= 0) return nullptr;
  // No names are ever pushed: the first record is (0, minimum depth, maximum depth).
  const std::uint32_t depth = selectionBuffer[2] / 4 + selectionBuffer[1] / 4;
  if (depth < record.nearestPickDepth) {
    if (record.nearestPicked != nullptr) record.nearestPicked->highlighted = !record.nearestPicked->highlighted;
    record.nearestPicked = this;
    record.nearestPickDepth = depth;
  }
  return this;
}

void SceneObject::drag(int, int, int, int, int) {}

void SceneObject::drawMirrored(int option, double h) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(0, h, 0);
  glScaled(1, -1, 1);
  glTranslated(0, -h, 0);
  draw(option);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void SceneObject::drawShadow(int option, double h) {
  Matrix M = Matrix::identity(4);
  Matrix S = Matrix::identity(4);
  // Row-major S here, read by OpenGL as its transpose: (x, y, z) goes to (x, h, z).
  S(1, 1) = 0;
  S(3, 1) = h;
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glGetDoublev(GL_MODELVIEW_MATRIX, M.data);
  const Matrix flattened = S.multiply(M);
  glLoadMatrixd(flattened.data);
  glEnable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4d(0, 0, 0, 0.4);
  draw(option);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}
