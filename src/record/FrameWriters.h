#pragma once

#include <memory>
#include <vector>

#include "record/FrameWriter.h"
#include "record/RecordingFormat.h"
#include "scene/Collider.h"

class Cloth;
class MelRecorder;

// The writers that produce `formats` for `cloth`, MEL through `recorder`. The caches share one
// base mesh, NAME.obj, which the OBJ sequence writes as well. Only the glTF scene carries the
// `colliders`, as they are when the recording starts.
std::vector<std::unique_ptr<FrameWriter>> makeFrameWriters(const RecordingFormats& formats, const Cloth& cloth,
                                                           const std::vector<Collider>& colliders,
                                                           MelRecorder& recorder);
