#include "cli/video_export.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "audio/mp3_scan.h"
#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/export_interrupt.h"
#include "cli/export_target.h"
#include "cli/frame_progress.h"
#include "cli/ffmpeg_pipe.h"
#include "cli/overlapped_frames.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "engine/layer_errors.h"
#include "scene/mp3_location.h"

namespace {

// Where the frames go: ffmpeg's standard input, or one PNG file each.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual bool Write(uint32_t frameIndex, const RgbaImage& image) = 0;
  virtual bool Finish() = 0;
  // Ends the encoder without waiting for it: a write in progress on another thread fails.
  virtual void Interrupt() {}
  // Ends the encoder and waits for it.
  virtual void Stop() {}
};

class PngSink : public FrameSink {
 public:
  explicit PngSink(std::string dir) : dir_(std::move(dir)) {}
  bool Write(uint32_t frameIndex, const RgbaImage& image) override {
    const std::string fault = WritePng(dir_ + "/" + FrameFileName(frameIndex), image);
    if (!fault.empty()) PrintReport("\n" + fault);
    return fault.empty();
  }
  bool Finish() override { return true; }

 private:
  std::string dir_;
};

// A duration in seconds with three decimals and a '.', whatever the locale says.
std::string SecondsText(uint64_t ms) {
  const std::string thousandths = std::to_string(ms % 1000);
  return std::to_string(ms / 1000) + "." + std::string(3 - thousandths.size(), '0') + thousandths;
}

class FfmpegSink : public FrameSink {
 public:
  FfmpegSink(const ExportOptions& options, const std::string& mp3, uint64_t durationMs, const std::string& videoPath)
      : ffmpeg_(Arguments(options, mp3, durationMs, videoPath)) {}
  bool Write(uint32_t, const RgbaImage& image) override { return ffmpeg_.Write(image.rgba.data(), image.rgba.size()); }
  bool Finish() override { return ffmpeg_.Finish(); }
  void Interrupt() override { ffmpeg_.Interrupt(); }
  void Stop() override { ffmpeg_.Stop(); }

 private:
  static std::vector<std::string> Arguments(const ExportOptions& options, const std::string& mp3, uint64_t durationMs,
                                            const std::string& videoPath) {
    std::vector<std::string> arguments = {
        "-y", "-loglevel", "error", "-f", "rawvideo", "-pix_fmt", "rgba", "-s",
        std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx), "-r", std::to_string(options.fps),
        "-i", "-"};
    if (!mp3.empty()) arguments.insert(arguments.end(), {"-i", mp3, "-map", "0:v", "-map", "1:a", "-c:a", "aac", "-b:a", "160k"});
    // One fast encoder thread keeps up with the frames and leaves the cores to the software renderer.
    arguments.insert(arguments.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-crf", "20", "-threads", "1",
                                       "-pix_fmt", "yuv420p", "-movflags", "+faststart", "-t", SecondsText(durationMs),
                                       videoPath});
    return arguments;
  }

  FfmpegPipe ffmpeg_;
};

// Empty, or why the video cannot be made at this size.
std::string SizeFault(const ExportOptions& options, bool toPng) {
  if (toPng || (options.widthPx % 2 == 0 && options.heightPx % 2 == 0)) return "";
  return kExportOddSizeText + std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx) +
         kExportOddSizeEnd;
}

}  // namespace

int RunExport(const ExportOptions& options) {
  const bool toPng = !options.outPath.empty() && options.outPath.back() == '/';
  if (const std::string fault = SizeFault(options, toPng); !fault.empty()) {
    PrintReport(fault);
    return 1;
  }
  LoadedDemo demo;
  if (!LoadDataFolder(options.dataDir, demo)) return 1;
  const std::string mp3 = FindMp3File(demo.sequence.Mp3FileName, options.dataDir);
  const bool withMusic = !toPng && std::filesystem::is_regular_file(mp3);
  if (withMusic) {
    // The encoder would leave gaps in the sound where the MP3 is damaged and still succeed.
    const Mp3Scan scan = ScanMp3(mp3);
    if (!scan.fault.empty()) {
      PrintReport(mp3 + ": " + scan.fault);
      return 1;
    }
  }
  RenderState state;  // its random stream starts at kRepeatableSeed: the same demo gives the same frames
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
  InterruptWatch interrupts;  // from here on, Ctrl+C and SIGTERM remove what the export made
  ExportTarget target;
  if (const std::string fault = PrepareExportTarget(options.outPath, toPng, target); !fault.empty()) {
    PrintReport(fault);
    PrintReport(kExportFailedText + options.outPath);
    ReleaseRenderObjects(state);
    return 1;
  }
  std::unique_ptr<FrameSink> sink;
  if (toPng)
    sink = std::make_unique<PngSink>(target.temporary);
  else
    sink = std::make_unique<FfmpegSink>(options, withMusic ? mp3 : "", uint64_t(frameCount) * 1000 / options.fps,
                                        target.temporary);

  // A layer that fails to evaluate would be missing from the video: the export stops at its first frame.
  // Two entries of one preset fail with one text: it is printed once.
  std::vector<std::string> layerErrors;
  LayerErrorFilter shown;
  const LayerErrorSink layerError = [&](const std::string& text) {
    if (TakeLayerError(shown, text)) layerErrors.push_back(text);
  };
  const auto start = std::chrono::steady_clock::now();
  std::optional<OverlappedFrames> frames;
  frames.emplace(state.device, [&sink](uint32_t n, const RgbaImage& image) { return sink->Write(n, image); });
  bool ok = true;
  for (uint32_t n = 0; n < frameCount && ok && InterruptWatch::Signal() == 0; ++n) {
    const uint32_t demoTimeMs = FixedStepFrameTimeMs(n, options.fps);
    ok = DrawOffscreenFrame(state, demo.scene, demo.sequence, demoTimeMs, false, layerError).empty() &&
         layerErrors.empty() && frames->Add(n);
    if (n % 10 == 0 || n + 1 == frameCount || !layerErrors.empty())
      ShowFrameProgress(n + 1, frameCount, start);
    for (const std::string& text : layerErrors)
      PrintReport("\n" + text + kExportLayerFailedText + std::to_string(demoTimeMs) + kExportLayerFailedFrame +
                  std::to_string(n) + ")");
  }
  // Nothing may write into the temporary once it is removed: the encoder ends first (so that the writer
  // thread's write fails instead of waiting), then the writer thread, then the encoder is waited for.
  const auto abandon = [&] {
    sink->Interrupt();
    frames.reset();
    sink->Stop();
    RemoveExportTemporary(target);
  };
  if (InterruptWatch::Signal() != 0) {
    abandon();
    PrintReport("\n" + std::string(kExportInterruptedText) + options.outPath);
    interrupts.EndBySignal();
  }
  std::string placeFault;
  ok = ok && frames->Finish() && sink->Finish() && (placeFault = PutExportInPlace(target)).empty();
  if (!ok) abandon();
  if (!placeFault.empty()) PrintReport("\n" + placeFault);
  PrintReport("\n" + std::string(ok ? kExportWroteText : kExportFailedText) + options.outPath);
  ReleaseRenderObjects(state);
  return ok ? 0 : 1;
}
