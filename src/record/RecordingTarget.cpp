#include "record/RecordingTarget.h"

std::string RecordingTarget::safeName(const std::string& name) {
  const auto allowed = [](char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
  };
  std::string safe;
  if (!name.empty() && name[0] >= '0' && name[0] <= '9') safe = "_";
  for (char ch : name) safe += allowed(ch) ? ch : '_';
  return safe;
}

RecordingTarget RecordingTarget::of(const std::string& path) {
  RecordingTarget target;
  target.path = path;
  const std::size_t slash = path.rfind('/');
  target.directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string baseName = slash == std::string::npos ? path : path.substr(slash + 1);
  target.name = baseName.substr(0, baseName.find('.'));
  return target;
}
