#pragma once

#include <memory>
#include <string>
#include <variant>

#include "scene/Shapes.h"
#include "scene/TriangleMesh.h"

// A mesh collider: its triangles, shared by every copy, and the file it came from.
struct MeshShape {
  std::shared_ptr<const TriangleMesh> mesh;
  std::string path;
};

// One static collider of the scene.
using Collider = std::variant<Plane, Sphere, Box, MeshShape>;

// Reads a collider as the recorder's --collider takes it: plane:PX,PY,PZ,NX,NY,NZ,
// sphere:CX,CY,CZ,R, box:X0,Y0,Z0,X1,Y1,Z1 or mesh:PATH (the mesh is loaded now). Returns an
// empty string, or one line for the user saying what is wrong.
std::string parseCollider(const std::string& text, Collider& collider);
// As parseCollider, but a plane's normal already of unit length to within rounding is kept as
// written: normalising it again can move its last digit, and formatCollider's text then reads back
// as another plane. For texts that were written from a collider, as a scene file's are.
std::string parseColliderExactly(const std::string& text, Collider& collider);
// The collider as parseCollider reads it, numbers in their shortest exact form: what the window
// shows and lets the user edit.
std::string formatCollider(const Collider& collider);
// "plane", "sphere", "box" or "mesh".
const char* kindOf(const Collider& collider);
