#include "scene/Shapes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const Box kBox{{-1.0, -2.0, 0.5}, {3.0, 1.0, 0.75}};

Vec3 along(int axis, double value, Vec3 p) {
  (axis == 0 ? p.x : axis == 1 ? p.y : p.z) = value;
  return p;
}

// Beside each face, from just off it to far, and from one end of the face to the other: the
// contact of the faces alone is bit for bit the full one.
TEST(Box, ContactBesideAFaceIsTheFullContact) {
  const double lower[3] = {kBox.lower.x, kBox.lower.y, kBox.lower.z};
  const double upper[3] = {kBox.upper.x, kBox.upper.y, kBox.upper.z};
  for (int axis = 0; axis < 3; ++axis)
    for (const double off : {-7.0, -0.013, -1e-9, 1e-9, 0.013, 7.0})
      for (const double across : {0.0, 0.37, 1.0}) {
        const Vec3 across3 = kBox.lower + across * (kBox.upper - kBox.lower);
        const Vec3 p = along(axis, off < 0.0 ? lower[axis] + off : upper[axis] + off, across3);
        double axesOutside;
        const Vec3 d = outsideOf(kBox, p, axesOutside);
        ASSERT_EQ(axesOutside, 1.0) << "axis " << axis << " off " << off << " across " << across;
        const Contact beside = contactBeside(d), full = contactWith(kBox, p);
        EXPECT_TRUE(sameBits(beside.distance, full.distance) && sameBits(beside.normal.x, full.normal.x) &&
                    sameBits(beside.normal.y, full.normal.y) && sameBits(beside.normal.z, full.normal.z))
            << "axis " << axis << " off " << off << " across " << across;
      }
}

}  // namespace
