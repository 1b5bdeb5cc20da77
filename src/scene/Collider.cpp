#include "scene/Collider.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "scene/MeshLoader.h"

namespace {

// Exactly `count` finite numbers separated by commas, and nothing else.
bool parseNumbers(const std::string& text, std::size_t count, std::vector<double>& numbers) {
  numbers.clear();
  std::size_t start = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t comma = text.find(',', start);
    const bool last = i + 1 == count;
    if (last != (comma == std::string::npos)) return false;
    const char* first = text.data() + start;
    const char* end = text.data() + (last ? text.size() : comma);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, end, value);
    if (first == end || error != std::errc() || stop != end || !std::isfinite(value)) return false;
    numbers.push_back(value);
    start = comma + 1;
  }
  return true;
}

std::string parseAnalytic(const std::string& kind, const std::string& values, Collider& collider) {
  std::vector<double> n;
  if (kind == "plane") {
    if (!parseNumbers(values, 6, n)) return "a plane takes six numbers PX,PY,PZ,NX,NY,NZ";
    Plane plane{{n[0], n[1], n[2]}, {}};
    if (!unitOf({n[3], n[4], n[5]}, plane.normal)) return "a plane's normal must not be zero";
    collider = plane;
  } else if (kind == "sphere") {
    if (!parseNumbers(values, 4, n)) return "a sphere takes four numbers CX,CY,CZ,R";
    if (!(n[3] > 0.0)) return "a sphere's radius must be above 0";
    collider = Sphere{{n[0], n[1], n[2]}, n[3]};
  } else {
    if (!parseNumbers(values, 6, n)) return "a box takes six numbers X0,Y0,Z0,X1,Y1,Z1";
    if (n[0] > n[3] || n[1] > n[4] || n[2] > n[5]) return "a box's first corner must not lie above its second";
    collider = Box{{n[0], n[1], n[2]}, {n[3], n[4], n[5]}};
  }
  return "";
}

}  // namespace

std::string parseCollider(const std::string& text, Collider& collider) {
  const std::size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  if (colon == std::string::npos || (kind != "plane" && kind != "sphere" && kind != "box" && kind != "mesh"))
    return "a collider is plane:..., sphere:..., box:... or mesh:PATH";
  const std::string values = text.substr(colon + 1);
  if (kind != "mesh") return parseAnalytic(kind, values, collider);
  if (values.empty()) return "mesh: needs the path of a mesh file";
  MeshLoad load = loadMesh(values);
  if (!load.mesh) return load.error;
  collider = MeshShape{std::move(load.mesh), values};
  return "";
}

std::string parseColliderExactly(const std::string& text, Collider& collider) {
  const std::string error = parseCollider(text, collider);
  Plane* plane = std::get_if<Plane>(&collider);
  std::vector<double> n;
  if (error.empty() && plane != nullptr && parseNumbers(text.substr(text.find(':') + 1), 6, n)) {
    const Vec3 written{n[3], n[4], n[5]};
    if (std::fabs(norm(written) - 1.0) <= 4 * std::numeric_limits<double>::epsilon()) plane->normal = written;
  }
  return error;
}

namespace {

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  char buffer[32];
  for (double value : values) {
    if (!text.empty()) text += ',';
    text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  }
  return text;
}

}  // namespace

std::string formatCollider(const Collider& collider) {
  struct {
    std::string operator()(const Plane& p) const {
      return numbers({p.point.x, p.point.y, p.point.z, p.normal.x, p.normal.y, p.normal.z});
    }
    std::string operator()(const Sphere& s) const { return numbers({s.centre.x, s.centre.y, s.centre.z, s.radius}); }
    std::string operator()(const Box& b) const {
      return numbers({b.lower.x, b.lower.y, b.lower.z, b.upper.x, b.upper.y, b.upper.z});
    }
    std::string operator()(const MeshShape& m) const { return m.path; }
  } values;
  return std::string(kindOf(collider)) + ':' + std::visit(values, collider);
}

const char* kindOf(const Collider& collider) {
  static constexpr const char* kKinds[] = {"plane", "sphere", "box", "mesh"};
  return kKinds[collider.index()];
}
