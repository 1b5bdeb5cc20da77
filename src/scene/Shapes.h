#pragma once

#include <algorithm>
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

// Inline and branch-free, with selects where a branch would be: the pass takes the nodes in
// contact a block at a time and the compiler runs a block's contacts side by side.
inline Contact contactWith(const Plane& plane, const Vec3& p) {
  const Vec3& n = plane.normal;
  return {dot(p - plane.point, n), {n.x, n.y, n.z}};  // copied by coordinate, which the compiler vectorises
}
// At the very centre every way is out: up is as good as any.
inline Contact contactWith(const Sphere& sphere, const Vec3& p) {
  const Vec3 d = p - sphere.centre;
  const double length = norm(d);
  const bool away = (length > 0.0) & std::isfinite(length);
  const Vec3 out = (1.0 / length) * d;
  return {length - sphere.radius, {away ? out.x : 0.0, away ? out.y : 1.0, away ? out.z : 0.0}};
}
// How far p lies beyond the box along each axis (0 within the box's extent on that axis), and on
// how many axes it does.
inline Vec3 outsideOf(const Box& box, const Vec3& p, double& axesOutside) {
  const double c[3] = {p.x, p.y, p.z}, lo[3] = {box.lower.x, box.lower.y, box.lower.z},
               hi[3] = {box.upper.x, box.upper.y, box.upper.z};
  double outside[3];
  axesOutside = 0.0;  // a count, in a double like the coordinates so that it vectorises alike
  for (int a = 0; a < 3; ++a) {
    const bool below = c[a] < lo[a], above = c[a] > hi[a];  // then c[a] − lo[a], c[a] − hi[a] are not 0
    outside[a] = below ? c[a] - lo[a] : above ? c[a] - hi[a] : 0.0;
    axesOutside += below | above ? 1.0 : 0.0;
  }
  return {outside[0], outside[1], outside[2]};
}
// The distance of a point outside along one axis alone, beside a face: the one coordinate not 0.
inline double besideDistance(const Vec3& outside) { return std::fabs(outside.x + outside.y + outside.z); }
// The contact of a point beside a face, whose axis is the way out: bit for bit what contactWith
// gives there, without the cases of edges, corners and inside.
inline Contact contactBeside(const Vec3& outside) {
  const double distance = besideDistance(outside);
  const Vec3 out = (1.0 / distance) * outside;
  return {distance, {out.x, out.y, out.z}};
}
// Outside: the distance to the nearest point of the box. Inside: minus the distance to the nearest
// face, whose axis is the way out (up when no face is nearer than infinity).
inline Contact contactWith(const Box& box, const Vec3& p) {
  const double c[3] = {p.x, p.y, p.z}, lo[3] = {box.lower.x, box.lower.y, box.lower.z},
               hi[3] = {box.upper.x, box.upper.y, box.upper.z};
  double face[3] = {0.0, 1.0, 0.0}, nearestFace = INFINITY;
  for (int a = 0; a < 3; ++a) {
    const double toLow = c[a] - lo[a], toHigh = hi[a] - c[a];
    const double nearer = std::min(toLow, toHigh);
    const bool closer = nearer < nearestFace;
    nearestFace = closer ? nearer : nearestFace;
    for (int b = 0; b < 3; ++b) face[b] = closer ? (b != a ? 0.0 : toHigh <= toLow ? 1.0 : -1.0) : face[b];
  }
  double axesOutside;
  const Vec3 d = outsideOf(box, p, axesOutside);
  // Beside a face (the usual case) the way out is that face's axis; a zero or non-finite length
  // beyond an edge or a corner has none.
  const double length = norm(d);
  const bool beside = axesOutside == 1.0;
  const double distance = beside ? besideDistance(d) : length;
  const bool way = beside | ((length > 0.0) & std::isfinite(length));
  const Vec3 out = (1.0 / distance) * d;
  const bool inside = axesOutside == 0.0;
  const Vec3 normal{way ? out.x : 0.0, way ? out.y : 0.0, way ? out.z : 0.0};
  return {inside ? -nearestFace : distance,
          {inside ? face[0] : normal.x, inside ? face[1] : normal.y, inside ? face[2] : normal.z}};
}

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
inline bool unitOf(const Vec3& v, Vec3& unit) {
  const double n = norm(v);
  if (!(n > 0.0) || !std::isfinite(n)) return false;
  unit = (1.0 / n) * v;
  return true;
}
