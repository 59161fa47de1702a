#include "cli/video_export.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "audio/mp3_scan.h"
#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/data_check.h"
#include "cli/export_codecs.h"
#include "cli/export_interrupt.h"
#include "cli/export_jobs.h"
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
  // Why the encoder failed, when it did; empty for a sink that reports its faults as they happen.
  virtual std::string Fault() const { return ""; }
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

class FfmpegSink : public FrameSink {
 public:
  FfmpegSink(const ExportOptions& options, const ExportSound& sound, uint32_t audioFromMs, uint64_t durationMs,
             const std::string& videoPath)
      : ffmpeg_(Arguments(options, sound, audioFromMs, durationMs, videoPath)) {}
  bool Write(uint32_t, const RgbaImage& image) override { return ffmpeg_.Write(image.rgba.data(), image.rgba.size()); }
  bool Finish() override { return ffmpeg_.Finish(); }
  void Interrupt() override { ffmpeg_.Interrupt(); }
  void Stop() override { ffmpeg_.Stop(); }
  std::string Fault() const override { return ffmpeg_.Fault(); }

 private:
  static std::vector<std::string> Arguments(const ExportOptions& options, const ExportSound& sound,
                                            uint32_t audioFromMs, uint64_t durationMs, const std::string& videoPath) {
    std::vector<std::string> arguments = {"-y",
                                          "-loglevel",
                                          "error",
                                          "-f",
                                          "rawvideo",
                                          "-pix_fmt",
                                          "rgba",
                                          "-s",
                                          std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx),
                                          "-r",
                                          RateText(options.rate),
                                          "-i",
                                          "-"};
    // A sound shorter than the video is padded with silence up to the video's length (-t).
    if (!sound.mp3.empty()) {
      if (audioFromMs > 0) arguments.insert(arguments.end(), {"-ss", SecondsText(audioFromMs)});
      arguments.insert(arguments.end(), {"-i", FfmpegFileName(sound.mp3), "-map", "0:v", "-map", "1:a"});
      const std::vector<std::string> audio = AudioArguments(sound, options.outPath);
      arguments.insert(arguments.end(), audio.begin(), audio.end());
    }
    const std::vector<std::string> video = VideoArguments(options.codec, options.outPath);
    arguments.insert(arguments.end(), video.begin(), video.end());
    arguments.insert(arguments.end(), {"-t", SecondsText(durationMs), FfmpegFileName(videoPath)});
    return arguments;
  }

  FfmpegPipe ffmpeg_;
};

// Empty, or why the video cannot be made at this size.
std::string SizeFault(const ExportOptions& options, bool toPng) {
  if (toPng || !NeedsEvenSize(options.codec) || (options.widthPx % 2 == 0 && options.heightPx % 2 == 0)) return "";
  return kExportOddSizeText + std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx) +
         kExportOddSizeEnd;
}

// One export of the frames of span: drawn from the first exactly as drawing every frame from 0 would
// (the frames before it fast-forwarded), written to options.outPath through its temporary.
int ExportFrames(const ExportOptions& options, LoadedDemo& demo, FrameSpan span, bool toPng, const ExportSound& sound) {
  RenderState state;  // its random stream starts at kRepeatableSeed: the same demo gives the same frames
  // Every start-up fault is printed once: the first one also comes back as the start's result.
  std::string firstPrinted;
  state.callbacks.fatalError = [&firstPrinted](const std::string& text) {
    PrintReport(text);
    if (firstPrinted.empty()) firstPrinted = text;
  };
  // A layer that fails to evaluate would be missing from the video: the export stops at its first frame.
  // Two entries of one preset fail with one text: it is printed once.
  std::vector<std::string> layerErrors;
  LayerErrorFilter shown;
  const LayerErrorSink layerError = [&](const std::string& text) {
    if (TakeLayerError(shown, text)) layerErrors.push_back(text);
  };
  const FrameRate rate = options.rate;
  const FrameTimes times = [rate](uint64_t n) { return FixedStepFrameTimeMs(n, rate); };
  const OffscreenStart start{[] { return Direct3DCreate8(D3D_SDK_VERSION); }, options.dataDir,
                             demo.sequence.ScreenCinemaWidthRatio, options.widthPx, options.heightPx};
  const std::string startError =
      DrawFrameAfterFastForward(state, start, demo.scene, demo.sequence, times, span.first, false, layerError);
  if (!startError.empty()) {
    if (startError != firstPrinted) PrintReport(startError);
    ReleaseRenderObjects(state);
    return 1;
  }
  const uint32_t frameCount = static_cast<uint32_t>(span.last - span.first + 1);
  InterruptWatch interrupts;  // from here on, Ctrl+C and SIGTERM remove what the export made
  ExportTarget target;
  if (const std::string fault = PrepareExportTarget(options.outPath, toPng, target); !fault.empty()) {
    PrintReport(fault);
    PrintReport(kExportFailedText + options.outPath);
    ReleaseRenderObjects(state);
    return 1;
  }
  std::unique_ptr<FrameSink> sink;
  if (toPng) sink = std::make_unique<PngSink>(target.temporary);
  else
    sink =
        std::make_unique<FfmpegSink>(options, sound, times(span.first), DurationMs(frameCount, rate), target.temporary);

  const auto began = std::chrono::steady_clock::now();
  std::optional<OverlappedFrames> frames;
  frames.emplace(state.device, [&sink](uint32_t n, const RgbaImage& image) { return sink->Write(n, image); });
  bool ok = true;
  for (uint64_t n = span.first; n <= span.last && ok && InterruptWatch::Signal() == 0; ++n) {
    const uint32_t demoTimeMs = times(n);
    // The first frame is drawn already, by the fast-forward's end.
    if (n != span.first) DrawOffscreenFrame(state, demo.scene, demo.sequence, demoTimeMs, false, layerError);
    ok = layerErrors.empty() && frames->Add(static_cast<uint32_t>(n));
    const uint32_t done = static_cast<uint32_t>(n - span.first + 1);
    if (done % 10 == 1 || done == frameCount || !layerErrors.empty()) ShowFrameProgress(done, frameCount, began);
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
  if (!ok && !sink->Fault().empty()) PrintReport("\n" + sink->Fault());
  if (!placeFault.empty()) PrintReport("\n" + placeFault);
  PrintReport("\n" + std::string(ok ? kExportWroteText : kExportFailedText) + options.outPath);
  ReleaseRenderObjects(state);
  return ok ? 0 : 1;
}

}  // namespace

int RunExport(const ExportOptions& options) {
  const bool toPng = !options.outPath.empty() && options.outPath.back() == '/';
  if (const std::string fault = toPng ? "" : ContainerFault(options.codec, options.outPath); !fault.empty()) {
    PrintReport(fault);
    return 1;
  }
  if (const std::string fault = SizeFault(options, toPng); !fault.empty()) {
    PrintReport(fault);
    return 1;
  }
  LoadedDemo demo;
  if (!LoadDataFolder(options.dataDir, demo)) return 1;
  const uint32_t toMs = options.toMs.value_or(demo.sequence.DemoLength);
  if (toMs > demo.sequence.DemoLength) {
    PrintReport(PastEndText("--to", toMs, demo.sequence.DemoLength));
    return 1;
  }
  const FrameSpan frames = FramesBetween(options.fromMs, toMs, options.rate);
  if (frames.first > frames.last) {
    PrintReport(ExportNoFramesText(options.fromMs, toMs));
    return 1;
  }
  const std::string mp3 = FindMp3File(demo.sequence.Mp3FileName, options.dataDir);
  ExportSound sound;
  if (!toPng && options.withMusic && std::filesystem::is_regular_file(mp3)) {
    // The encoder would leave gaps in the sound where the MP3 is damaged and still succeed.
    const Mp3Scan scan = ScanMp3(mp3);
    if (!scan.fault.empty()) {
      PrintReport(mp3 + ": " + scan.fault);
      return 1;
    }
    sound = {mp3, scan.soundS * 1000 < demo.sequence.DemoLength};
    if (sound.endsEarly)
      PrintReport(kCheckWarningPrefix + ShortSoundWarning(mp3, scan.soundS, demo.sequence.DemoLength));
  }
  if (options.jobs > 1) return RunSplitExport(options, frames, toPng, sound);
  return ExportFrames(options, demo, frames, toPng, sound);
}
