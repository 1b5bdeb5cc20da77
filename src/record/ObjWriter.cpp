#include "record/ObjWriter.h"

#include <cstdio>
#include <filesystem>

#include "cloth/Cloth.h"
#include "record/ClothMesh.h"
#include "record/OutputFile.h"

std::string ObjWriter::framePath(const RecordingTarget& target, int number) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%04d.obj", number);
  return target.file(suffix);
}

std::vector<std::string> ObjWriter::staleFrames(const RecordingTarget& target) {
  namespace fs = std::filesystem;
  std::vector<std::string> stale;
  std::error_code error;
  const fs::path directory = target.directory.empty() ? fs::path(".") : fs::path(target.directory);
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string file = it->path().filename().string();
    const std::string prefix = target.name + ".", suffix = ".obj";
    if (file.size() < prefix.size() + 4 + suffix.size() || file.compare(0, prefix.size(), prefix) != 0 ||
        file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string number = file.substr(prefix.size(), file.size() - prefix.size() - suffix.size());
    if (number.find_first_not_of("0123456789") == std::string::npos) stale.push_back(target.directory + file);
  }
  return stale;
}

// A sequence written again under its name leaves none of the old frames among the new ones.
bool ObjWriter::begin(const RecordingTarget& target) {
  target_ = target;
  bytes_ = 0;
  topology_ = clothmesh::objTopology(cloth_);
  if (sequence_) {
    for (const std::string& stale : staleFrames(target)) {
      std::error_code error;
      if (std::filesystem::remove(stale, error) || !error) continue;
      error_ = stale + ": " + error.message();
      return false;
    }
  }
  return writeMesh(target.file(".obj"), "Loomwise cloth " + std::to_string(cloth_.width) + " x " +
                                            std::to_string(cloth_.height) + " nodes, as the recording starts");
}

bool ObjWriter::frame(int number) {
  if (!sequence_) return true;
  return writeMesh(framePath(target_, number), "Loomwise cloth, frame " + std::to_string(number));
}

bool ObjWriter::writeMesh(const std::string& path, const std::string& comment) {
  const std::string header = clothmesh::objHeader(RecordingTarget::safeName(target_.name), comment);
  const std::string vertices = clothmesh::objVertices(cloth_);
  OutputFile file;
  const bool written = file.open(path, "wb") && file.writeText(header) && file.writeText(vertices) &&
                       file.writeText(topology_) && file.close();
  if (written) {
    bytes_ += header.size() + vertices.size() + topology_.size();
    return true;
  }
  error_ = file.error();
  file.discard();  // a mesh cut short must not pass for the frame
  return false;
}

std::vector<std::string> ObjWriter::filesFor(const RecordingTarget& target) const {
  std::vector<std::string> paths{target.file(".obj")};
  if (sequence_) {
    const std::vector<std::string> frames = staleFrames(target);
    paths.insert(paths.end(), frames.begin(), frames.end());
  }
  return paths;
}

std::vector<std::string> ObjWriter::files() const {
  std::vector<std::string> paths{target_.file(".obj")};
  if (sequence_) paths.push_back(target_.file(".NNNN.obj"));
  return paths;
}
