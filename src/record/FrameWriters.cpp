#include "record/FrameWriters.h"

#include "record/GlbWriter.h"
#include "record/MddWriter.h"
#include "record/MelFrameWriter.h"
#include "record/ObjWriter.h"
#include "record/Pc2Writer.h"

std::vector<std::unique_ptr<FrameWriter>> makeFrameWriters(const RecordingFormats& formats, const Cloth& cloth,
                                                           const std::vector<Collider>& colliders,
                                                           MelRecorder& recorder) {
  using recordingformat::contains;
  std::vector<std::unique_ptr<FrameWriter>> writers;
  if (contains(formats, RecordingFormat::mel)) writers.push_back(std::make_unique<MelFrameWriter>(recorder));
  const bool sequence = contains(formats, RecordingFormat::obj);
  if (sequence || contains(formats, RecordingFormat::pc2) || contains(formats, RecordingFormat::mdd))
    writers.push_back(std::make_unique<ObjWriter>(cloth, sequence));
  if (contains(formats, RecordingFormat::pc2)) writers.push_back(std::make_unique<Pc2Writer>(cloth));
  if (contains(formats, RecordingFormat::mdd)) writers.push_back(std::make_unique<MddWriter>(cloth));
  if (contains(formats, RecordingFormat::glb)) writers.push_back(std::make_unique<GlbWriter>(cloth, colliders));
  return writers;
}
