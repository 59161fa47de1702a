#include "cli/video_export.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/overlapped_frames.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "scene/mp3_location.h"
#include "scene/shared_random.h"

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Where the frames go: ffmpeg's standard input, or one PNG file each.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual bool Write(uint32_t frameIndex, const RgbaImage& image) = 0;
  virtual bool Finish() = 0;
};

class PngSink : public FrameSink {
 public:
  explicit PngSink(std::string dir) : dir_(std::move(dir)) {}
  bool Write(uint32_t frameIndex, const RgbaImage& image) override {
    char name[32];
    std::snprintf(name, sizeof name, "frame%06u.png", frameIndex);
    return WritePng(dir_ + name, image);
  }
  bool Finish() override { return true; }

 private:
  std::string dir_;
};

// ffmpeg writes to a temporary file beside the target, renamed over it only when the whole video was
// written, so a failed export leaves an earlier video as it was.
class FfmpegSink : public FrameSink {
 public:
  FfmpegSink(const ExportOptions& options, const std::string& mp3, double seconds)
      : target_(options.outPath), temporary_(TemporaryVideoPath(options.outPath)) {
    std::string command = "ffmpeg -y -loglevel error -f rawvideo -pix_fmt rgba -s " +
                          std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx) + " -r " +
                          std::to_string(options.fps) + " -i -";
    const bool withMusic = std::filesystem::is_regular_file(mp3);
    if (withMusic) command += " -i " + Quoted(mp3) + " -map 0:v -map 1:a -c:a aac -b:a 160k";
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.3f", seconds);
    // One fast encoder thread keeps up with the frames and leaves the cores to the software renderer.
    command += std::string(" -c:v libx264 -preset ultrafast -crf 20 -threads 1 -pix_fmt yuv420p -movflags +faststart -t ") +
               duration + " " + Quoted(temporary_);
    std::signal(SIGPIPE, SIG_IGN);  // an ffmpeg that gave up makes the next write fail instead of ending us
    pipe_ = popen(command.c_str(), "w");
  }
  ~FfmpegSink() override {
    if (pipe_) pclose(pipe_);
    std::remove(temporary_.c_str());
  }
  bool Write(uint32_t, const RgbaImage& image) override {
    return pipe_ && std::fwrite(image.rgba.data(), 1, image.rgba.size(), pipe_) == image.rgba.size();
  }
  bool Finish() override {
    if (!pipe_) return false;
    const int status = pclose(pipe_);
    pipe_ = nullptr;
    return status == 0 && std::rename(temporary_.c_str(), target_.c_str()) == 0;
  }

 private:
  // ".partial-PID-NAME" in the target's folder: the extension, which tells ffmpeg the format, stays last.
  static std::string TemporaryVideoPath(const std::string& target) {
    const std::filesystem::path path(target);
    return (path.parent_path() / (kExportTemporaryPrefix + std::to_string(getpid()) + "-" + path.filename().string()))
        .string();
  }

  std::string target_, temporary_;
  FILE* pipe_ = nullptr;
};

void ShowProgress(uint32_t done, uint32_t total, double elapsedS) {
  constexpr int kBarWidth = 30;
  const double share = total ? static_cast<double>(done) / total : 1;
  const double fps = elapsedS > 0 ? done / elapsedS : 0;
  const double leftS = fps > 0 ? (total - done) / fps : 0;
  std::string bar(kBarWidth, ' ');
  for (int i = 0; i < static_cast<int>(share * kBarWidth); ++i) bar[i] = '#';
  std::fprintf(stderr, "\r[%s] %u/%u frames  %.1f frames/s  %.0f s left ", bar.c_str(), done, total, fps, leftS);
  std::fflush(stderr);
}

}  // namespace

int RunExport(const ExportOptions& options) {
  LoadedDemo demo;
  if (!LoadDataFolder(options.dataDir, demo)) return 1;
  SeedRandom(kRepeatableSeed);  // the same demo gives the same frames
  RenderState state;
  // Every start-up fault is printed once: the first one also comes back as the start's result.
  std::string firstPrinted;
  state.callbacks.fatalError = [&firstPrinted](const std::string& text) {
    PrintReport(text);
    if (firstPrinted.empty()) firstPrinted = text;
  };
  const std::string startError =
      StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), options.dataDir,
                             demo.sequence.ScreenCinemaWidthRatio, options.widthPx, options.heightPx);
  if (!startError.empty()) {
    if (startError != firstPrinted) PrintReport(startError);
    ReleaseRenderObjects(state);
    return 1;
  }
  const uint32_t frameCount = static_cast<uint32_t>(uint64_t(demo.sequence.DemoLength) * options.fps / 1000 + 1);
  const bool toPng = !options.outPath.empty() && options.outPath.back() == '/';
  std::unique_ptr<FrameSink> sink;
  if (toPng) {
    std::error_code ignored;
    std::filesystem::create_directories(options.outPath, ignored);
    sink = std::make_unique<PngSink>(options.outPath);
  } else {
    const std::string mp3Path = FindMp3File(demo.sequence.Mp3FileName, options.dataDir);
    sink = std::make_unique<FfmpegSink>(options, mp3Path, double(frameCount) / options.fps);
  }

  // A layer that fails to evaluate would be missing from the video: the export stops at its first frame.
  std::vector<std::string> layerErrors;
  const LayerErrorSink layerError = [&layerErrors](const std::string& text) { layerErrors.push_back(text); };
  const auto start = std::chrono::steady_clock::now();
  OverlappedFrames frames(state.device, [&sink](uint32_t n, const RgbaImage& image) { return sink->Write(n, image); });
  bool ok = true;
  for (uint32_t n = 0; n < frameCount && ok; ++n) {
    const uint32_t demoTimeMs = FixedStepFrameTimeMs(n, options.fps);
    ok = DrawOffscreenFrame(state, demo.scene, demo.sequence, demoTimeMs, false, layerError).empty() && layerErrors.empty() &&
         frames.Add(n);
    if (n % 10 == 0 || n + 1 == frameCount || !layerErrors.empty())
      ShowProgress(n + 1, frameCount, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    for (const std::string& text : layerErrors)
      PrintReport("\n" + text + kExportLayerFailedText + std::to_string(demoTimeMs) + kExportLayerFailedFrame +
                  std::to_string(n) + ")");
  }
  ok = ok && frames.Finish() && sink->Finish();  // an export that stopped leaves its temporary to the sink to remove
  PrintReport("\n" + std::string(ok ? kExportWroteText : kExportFailedText) + options.outPath);
  ReleaseRenderObjects(state);
  return ok ? 0 : 1;
}
