#pragma once

#include <string>
#include <vector>

// The formats a recording can be written in.
enum class RecordingFormat { mel, pc2, mdd, obj, glb };

using RecordingFormats = std::vector<RecordingFormat>;  // in the order chosen, each at most once

namespace recordingformat {

// "mel", "pc2", "mdd", "obj", "glb"
const char* name(RecordingFormat format);
const RecordingFormats& all();
// "mel, pc2, mdd, obj, glb", for messages.
std::string acceptedNames();
// Reads a comma-separated list such as "mel,glb"; a repeated name counts once. False, with the
// first name that is not a format in `unknown` (perhaps empty), when the list is bad.
bool parseList(const std::string& list, RecordingFormats& formats, std::string& unknown);
bool contains(const RecordingFormats& formats, RecordingFormat format);

}  // namespace recordingformat
