#include "record/ObjWriter.h"

#include <cstdio>

#include "cloth/Cloth.h"
#include "record/ClothMesh.h"
#include "record/OutputFile.h"

std::string ObjWriter::framePath(const RecordingTarget& target, int number) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%04d.obj", number);
  return target.file(suffix);
}

bool ObjWriter::begin(const RecordingTarget& target) {
  target_ = target;
  topology_ = clothmesh::objTopology(cloth_);
  return writeMesh(target.file(".obj"), "Loomwise cloth " + std::to_string(cloth_.width) + " x " +
                                            std::to_string(cloth_.height) + " nodes, as the recording starts");
}

bool ObjWriter::frame(int number) {
  if (!sequence_) return true;
  return writeMesh(framePath(target_, number), "Loomwise cloth, frame " + std::to_string(number));
}

bool ObjWriter::writeMesh(const std::string& path, const std::string& comment) {
  OutputFile file;
  const bool written = file.open(path, "wb") && file.writeText(clothmesh::objHeader(RecordingTarget::safeName(target_.name), comment)) &&
                       file.writeText(clothmesh::objVertices(cloth_)) && file.writeText(topology_) && file.close();
  if (written) return true;
  error_ = file.error();
  file.discard();  // a mesh cut short must not pass for the frame
  return false;
}

std::vector<std::string> ObjWriter::files() const {
  std::vector<std::string> paths{target_.file(".obj")};
  if (sequence_) paths.push_back(target_.file(".NNNN.obj"));
  return paths;
}
