// libFuzzer target, check against playback: any bytes as a data folder (a sequence file, then up to two
// preset files, separated by lines "=====") with the shipped textures. When `quarnel --check` would pass
// it with no warning (settling every oscillator), every frame the export draws must draw every layer: a
// layer error or an exception there means the check let through data that fails, and the fuzzer stops
// with the input.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/data_check.h"
#include "draw/demo_frame.h"
#include "draw/device_setup.h"
#include "draw/offscreen_demo.h"
#include "gpu/null_device.h"

namespace {

constexpr char kSeparator[] = "\n=====\n";
constexpr uint64_t kMaxFrames = 2000;

void WriteBytes(const std::string& path, const std::string& bytes) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

// The folder for this process: the shipped textures and the files of the input. Run from the project's
// folder, the shipped MP3 (data/soundtrack.mp3) is found as the shipped sequence names it.
std::string WriteFolder(const std::string& input) {
  static const std::string dir = "/tmp/quarnel-fuzz-check-render-" + std::to_string(getpid());
  std::error_code ignored;
  if (!std::filesystem::exists(dir + "/texture0.bmp")) {
    std::filesystem::create_directories(dir, ignored);
    for (int n = 0; n < 10; ++n) {
      const std::string name = "/texture" + std::to_string(n) + ".bmp";
      std::filesystem::copy_file(QUARNEL_SOURCE_DIR "/data" + name, dir + name, ignored);
    }
  }
  const std::string names[] = {"/sceneseq.txt", "/scene0.txt", "/scene1.txt"};
  size_t start = 0;
  for (const std::string& name : names) {
    const size_t end = input.find(kSeparator, start);
    if (start > input.size()) {
      std::filesystem::remove(dir + name, ignored);
      continue;
    }
    WriteBytes(dir + name, input.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? input.size() + 1 : end + sizeof kSeparator - 1;
  }
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string dir = WriteFolder(std::string(reinterpret_cast<const char*>(data), size));
  LoadedDemo demo;
  const bool loaded = LoadDataFolder(dir, demo);
  CheckCounts counts;
  CheckEvaluation(dir, demo, counts);
  CheckLikelyMistakes(dir, demo, 10, counts);
  if (!loaded || counts.errors > 0 || counts.warnings > 0 || counts.undecided > 0 || demo.notices > 0) return 0;

  RenderState state;
  state.d3d = CreateNullDirect3D8(std::make_shared<NullDeviceLog>());
  state.callbacks.fatalError = [](const std::string&) {};  // the check above found the data sound
  DeviceChoice choice;
  choice.windowed = true;
  if (!CreateRenderDevice(state, choice).empty()) std::abort();
  const uint64_t lengthMs = demo.sequence.DemoLength;
  const uint64_t frames = std::min<uint64_t>(lengthMs / 100 + 1, kMaxFrames);
  const LayerErrorSink layerError = [](const std::string& text) {
    std::fprintf(stderr, "passed the check, failed to draw: %s\n", text.c_str());
    std::abort();
  };
  uint32_t fxTimeMs = 0;
  for (uint64_t n = 0; n <= frames; ++n)
    DrawDemoFrame(state, demo.scene, demo.sequence, uint32_t(lengthMs * n / frames), false, state.FullWidth,
                  state.FullHeight, fxTimeMs, layerError);
  ReleaseRenderObjects(state);
  return 0;
}
