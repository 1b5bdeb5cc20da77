#pragma once

#include <cmath>

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

// Plane and sphere inline: the pass calls them for every node in contact.
inline Contact contactWith(const Plane& plane, const Vec3& p) { return {dot(p - plane.point, plane.normal), plane.normal}; }
// At the very centre every way is out: up is as good as any.
inline Contact contactWith(const Sphere& sphere, const Vec3& p) {
  const Vec3 d = p - sphere.centre;
  const double length = norm(d);
  const bool away = length > 0.0 && std::isfinite(length);
  return {length - sphere.radius, away ? (1.0 / length) * d : Vec3{0.0, 1.0, 0.0}};
}
Contact contactWith(const Box& box, const Vec3& p);

// Whether p may lie within `reach` of the surface or inside: a cheap test that rules most points
// out. Without branches, so that a loop over the nodes vectorises.
inline bool mayTouch(const Plane& plane, const Vec3& p, double reach) { return dot(p - plane.point, plane.normal) < reach; }
inline bool mayTouch(const Sphere& sphere, const Vec3& p, double reach) {
  const Vec3 d = p - sphere.centre;
  const double r = sphere.radius + reach;
  return d.x * d.x + d.y * d.y + d.z * d.z < r * r;
}
inline bool mayTouch(const Box& box, const Vec3& p, double reach) {
  return (p.x > box.lower.x - reach) & (p.x < box.upper.x + reach) & (p.y > box.lower.y - reach) &
         (p.y < box.upper.y + reach) & (p.z > box.lower.z - reach) & (p.z < box.upper.z + reach);
}

// Unit length, or none for a zero or non-finite vector.
bool unitOf(const Vec3& v, Vec3& unit);
