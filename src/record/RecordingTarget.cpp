#include "record/RecordingTarget.h"

RecordingTarget RecordingTarget::of(const std::string& path) {
  RecordingTarget target;
  target.path = path;
  const std::size_t slash = path.rfind('/');
  target.directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string baseName = slash == std::string::npos ? path : path.substr(slash + 1);
  target.name = baseName.substr(0, baseName.find('.'));
  return target;
}
