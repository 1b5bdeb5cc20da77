#include "record/MelRecorder.h"

#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cloth/Cloth.h"
#include "record/CNumericLocale.h"
#include "record/RecordingTarget.h"

namespace {

constexpr int kDegree = 3;

// The directory part of a path, up to and including its last '/', and the rest.
void splitPath(const std::string& path, std::string& directory, std::string& baseName) {
  const std::size_t slash = path.rfind('/');
  directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  baseName = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

MelRecorder::MelRecorder(const Cloth& cloth) : cloth_(cloth) {}

MelRecorder::~MelRecorder() { endRecording(); }

double MelRecorder::controlPointParameter(int k, int n) {
  if (k <= 0) return 0.0;
  if (k == 1) return 1.0 / (3 * n);
  if (k <= n) return static_cast<double>(k - 1) / n;
  if (k == n + 1) return 1.0 - 1.0 / (3 * n);
  return 1.0;
}

void MelRecorder::fail(const std::string& path, int error) {
  lastError_ = path + ": " + std::strerror(error);
}

int MelRecorder::beginRecording(const std::string& path, int newPatchesU, int newPatchesV) {
  endRecording();
  std::string directory, baseName;
  splitPath(path, directory, baseName);
  const std::string name = RecordingTarget::safeName(baseName.substr(0, baseName.find('.')));
  if (name.empty()) {
    lastError_ = path + ": the file name gives no recording name";
    return -1;
  }
  if (newPatchesU < 1 || newPatchesV < 1) {
    lastError_ = path + ": the surface needs at least one patch in each direction";
    return -1;
  }
  if (!cloth_.hasGrid()) {
    lastError_ = path + ": the cloth has no grid to record";
    return -1;
  }
  recordingName = name;
  patchesU = newPatchesU;
  patchesV = newPatchesV;

  createPath = createPathFor(directory, recordingName);
  if (!writeCreateScript(createPath)) return -1;

  animationPath = animationPathFor(directory, recordingName);
  animationFile = std::fopen(animationPath.c_str(), "w");
  if (animationFile == nullptr) {
    fail(animationPath, errno);
    return 1;
  }
  completeLength_ = 0;
  return 0;
}

bool MelRecorder::writeCreateScript(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) {
    fail(path, errno);
    return false;
  }
  const Matrix& m = cloth_.placement;
  CNumericLocale cNumbers;
  bool written = std::fprintf(file, "nurbsPlane -p 0 0 0") >= 0 &&
                 std::fprintf(file, " -ax %1.3f %1.3f %1.3f", m(0, 2), m(1, 2), m(2, 2)) >= 0 &&
                 std::fprintf(file, " -w %1.3f", cloth_.width * cloth_.spacing) >= 0 &&
                 std::fprintf(file, " -lr %1.3f", static_cast<double>(cloth_.height) / cloth_.width) >= 0 &&
                 std::fprintf(file, " -d %d", kDegree) >= 0 && std::fprintf(file, " -u %d", patchesU) >= 0 &&
                 std::fprintf(file, " -v %d;\n", patchesV) >= 0 &&
                 std::fprintf(file, "rename \"%s\";\n", recordingName.c_str()) >= 0;
  written = std::fflush(file) == 0 && written;
  const int error = errno;
  if (std::fclose(file) != 0 && written) {
    fail(path, errno);
    return false;
  }
  if (!written) fail(path, error);
  return written;
}

int MelRecorder::writeFrame(int frame) {
  if (animationFile == nullptr) {
    lastError_ = "no recording is open";
    return -1;
  }
  if (frame < 1) frame = lastFrame + 1;
  lastFrame = frame;

  CNumericLocale cNumbers;
  bool written = std::fprintf(animationFile, "currentTime %d;\n", frame) >= 0 &&
                 writeControlPoints(animationFile, recordingName, patchesU, patchesV) == 0 &&
                 std::fprintf(animationFile, "setKeyframe -shape 1 {\"%s.cv[0:%d][0:%d]\"};\n",
                              recordingName.c_str(), patchesU + 2, patchesV + 2) >= 0;
  // Each frame reaches the file as soon as it is complete, so a crash loses at most one frame.
  written = std::fflush(animationFile) == 0 && written;
  if (!written) {
    fail(animationPath, errno);
    discardPartialFrame();
    return -1;
  }
  completeLength_ = ftello(animationFile);
  return 0;
}

// A full disk or a file-size limit stops a frame part-way: drop what the buffer still holds and cut
// the file back, so that the script ends on a whole frame that Maya can still run.
// A device such as /dev/full keeps no length, so there is nothing to cut there.
void MelRecorder::discardPartialFrame() {
  __fpurge(animationFile);
  const int fd = fileno(animationFile);
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return;
  if (ftruncate(fd, completeLength_) != 0 || fseeko(animationFile, completeLength_, SEEK_SET) != 0)
    lastError_ += "; its last frame could not be cut off";
}

int MelRecorder::writeControlPoints(std::FILE* file, const std::string& name, int u, int v) {
  static const char* const kAxes[3] = {"x", "y", "z"};
  for (int i = 0; i <= v + kDegree - 1; ++i) {
    for (int j = 0; j <= u + kDegree - 1; ++j) {
      const double s = controlPointParameter(j, u);
      const double t = controlPointParameter(i, v);
      const Vector d = cloth_.sample(s, t, cloth_.positions.get())
                           .subtract(cloth_.sample(s, t, cloth_.restPositions.get()));
      const int n = j * (v + kDegree) + i;
      for (int axis = 0; axis < 3; ++axis) {
        if (std::fprintf(file, "setAttr \"%s.controlPoints[%d].%sValue\" %1.3f;\n", name.c_str(), n,
                         kAxes[axis], d[axis]) < 0)
          return -1;
      }
    }
  }
  return 0;
}

int MelRecorder::endRecording() {
  if (animationFile == nullptr) return 0;
  const int closed = std::fclose(animationFile);
  animationFile = nullptr;
  if (closed != 0) {
    fail(animationPath, errno);
    return -1;
  }
  return 0;
}
