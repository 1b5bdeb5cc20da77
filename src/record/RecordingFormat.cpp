#include "record/RecordingFormat.h"

#include <algorithm>

namespace recordingformat {

const char* name(RecordingFormat format) {
  switch (format) {
    case RecordingFormat::mel: return "mel";
    case RecordingFormat::pc2: return "pc2";
    case RecordingFormat::mdd: return "mdd";
    case RecordingFormat::obj: return "obj";
    case RecordingFormat::glb: return "glb";
  }
  return "";
}

const RecordingFormats& all() {
  static const RecordingFormats formats{RecordingFormat::mel, RecordingFormat::pc2, RecordingFormat::mdd,
                                        RecordingFormat::obj, RecordingFormat::glb};
  return formats;
}

std::string acceptedNames() {
  std::string names;
  for (RecordingFormat format : all()) names += (names.empty() ? "" : ", ") + std::string(name(format));
  return names;
}

bool contains(const RecordingFormats& formats, RecordingFormat format) {
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

bool parseList(const std::string& list, RecordingFormats& formats, std::string& unknown) {
  RecordingFormats parsed;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    const std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const auto known = std::find_if(all().begin(), all().end(), [&word](RecordingFormat f) { return word == name(f); });
    if (known == all().end()) {
      unknown = word;
      return false;
    }
    if (!contains(parsed, *known)) parsed.push_back(*known);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  formats = parsed;
  return true;
}

}  // namespace recordingformat
