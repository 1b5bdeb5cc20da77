#pragma once

#include "cloth/Vec3.h"
#include "scene/Contact.h"

// The analytic colliders, plain data. Each is static in the scene.

// An infinite plane through `point`; `normal` (unit) points to the side that is outside.
struct Plane {
  Vec3 point;
  Vec3 normal;
};

struct Sphere {
  Vec3 centre;
  double radius;
};

// An axis-aligned box from `lower` to `upper` (each coordinate of lower at most upper's).
struct Box {
  Vec3 lower;
  Vec3 upper;
};

Contact contactWith(const Plane& plane, const Vec3& p);
Contact contactWith(const Sphere& sphere, const Vec3& p);
Contact contactWith(const Box& box, const Vec3& p);

// Unit length, or none for a zero or non-finite vector.
bool unitOf(const Vec3& v, Vec3& unit);
