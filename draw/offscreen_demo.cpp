#include "draw/offscreen_demo.h"

#include <algorithm>
#include <exception>

#include "draw/demo_frame.h"
#include "gpu/device_extras.h"
#include "draw/device_setup.h"
#include "draw/draw_messages.h"

namespace {

std::string StartSteps(RenderState& state, const std::string& dataDir, float ratio, uint32_t widthPx, uint32_t heightPx,
                       const std::string& firstFatal) {
  DeviceChoice choice;
  choice.windowed = true;
  choice.widthPx = widthPx;
  choice.heightPx = heightPx;
  const std::string deviceError = CreateRenderDevice(state, choice);
  if (!deviceError.empty()) return kDeviceInitPrefix + deviceError;

  const std::string objectsError = CreateSceneObjects(state, dataDir);
  if (!objectsError.empty()) return objectsError;
  if (!firstFatal.empty()) return firstFatal;
  return InitFrameStates(state, ratio);
}

}  // namespace

std::string StartOffscreenRenderer(RenderState& state, IDirect3D8* d3d, const std::string& dataDir,
                                   float screenCinemaWidthRatio, uint32_t widthPx, uint32_t heightPx) {
  state.d3d = d3d;
  if (!state.callbacks.fatalError) return kNoFatalErrorSinkText;
  if (widthPx < 1 || heightPx < 1 || widthPx > kMaxOffscreenSidePx || heightPx > kMaxOffscreenSidePx)
    return OffscreenSizeText(widthPx, heightPx);
  // Texture loading reports through FatalError and goes on; the first such text ends the start-up.
  const RenderCallbacks previous = state.callbacks;
  std::string firstFatal;
  state.callbacks.fatalError = [&](const std::string& text) {
    if (firstFatal.empty()) firstFatal = text;
    previous.fatalError(text);
  };
  const std::string error = StartSteps(state, dataDir, screenCinemaWidthRatio, widthPx, heightPx, firstFatal);
  state.callbacks = previous;
  return error;
}

void DrawOffscreenFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                        bool developmentMode, const LayerErrorSink& layerError) {
  uint32_t fxTimeMs = 0;
  DrawDemoFrame(state, scene, sequence, demoTimeMs, developmentMode, state.FullWidth, state.FullHeight, fxTimeMs,
                layerError);
}

std::string DrawDemoFrameToImage(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                                 uint32_t demoTimeMs, bool developmentMode, RgbaImage& image,
                                 const LayerErrorSink& layerError) {
  image = {};
  DrawOffscreenFrame(state, scene, sequence, demoTimeMs, developmentMode, layerError);
  DeviceExtras* extras = ExtrasOf(state.device);
  if (extras == nullptr || !extras->ReadBackBuffer(image)) return kNoPixelsText;
  return "";
}

FrameSpan FramesBetween(uint32_t fromMs, uint32_t toMs, FrameRate rate) {
  const uint64_t numerator = std::max(rate.numerator, 1u), perFrame = 1000 * uint64_t(rate.denominator);
  // Frame n's time, n * perFrame / numerator rounded down, is at least fromMs when n * perFrame >=
  // fromMs * numerator, and at most toMs when n * perFrame < (toMs + 1) * numerator.
  const auto roundedUp = [perFrame](uint64_t value) { return (value + perFrame - 1) / perFrame; };
  return {roundedUp(fromMs * numerator), roundedUp((toMs + 1ull) * numerator) - 1};
}

namespace {

// Frames first..last-1 drawn (fast-forwarded when fastForward), each told to progress (of last + 1). A
// layer that fails in one of them stops the export there, and so it stops this too: its text and where
// it failed first; "" when none did.
std::string DrawFramesBefore(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                             const FrameTimes& frameTimeMs, uint64_t first, uint64_t last, bool developmentMode,
                             bool fastForward, const FrameProgress& progress) {
  DeviceExtras* extras = ExtrasOf(state.device);
  if (extras != nullptr) extras->SetFastForward(fastForward);
  std::string failure;
  const LayerErrorSink noteFailure = [&failure](const std::string& text) {
    if (failure.empty()) failure = text;
  };
  uint32_t fxTimeMs = 0;
  for (uint64_t n = first; n < last && failure.empty(); ++n) {
    DrawDemoFrame(state, scene, sequence, frameTimeMs(n), developmentMode, state.FullWidth, state.FullHeight, fxTimeMs,
                  noteFailure);
    if (!failure.empty()) failure += ReplayedFrameFailedText(frameTimeMs(n), n);
    if (progress) progress(n + 1, last + 1);
  }
  if (extras != nullptr) extras->SetFastForward(false);
  return failure;
}

std::string Start(RenderState& state, const OffscreenStart& start) {
  return StartOffscreenRenderer(state, start.direct3d(), start.dataDir, start.screenCinemaWidthRatio, start.widthPx,
                                start.heightPx);
}

}  // namespace

std::string DrawFrameAfterFastForward(RenderState& state, const OffscreenStart& start, SceneState& scene,
                                      const SceneSequence& sequence, const FrameTimes& frameTimeMs, uint64_t frame,
                                      bool developmentMode, const LayerErrorSink& layerError,
                                      const FrameProgress& progress) {
  std::string error = Start(state, start);
  if (error.empty())
    error = DrawFramesBefore(state, scene, sequence, frameTimeMs, 0, frame, developmentMode, true, progress);
  if (!error.empty()) return error;
  DrawOffscreenFrame(state, scene, sequence, frameTimeMs(frame), developmentMode, layerError);
  const DeviceExtras* extras = ExtrasOf(state.device);
  const uint64_t realStart = extras != nullptr ? extras->LatestRealStart() : 0;
  if (realStart == frame) return "";
  // Pixels of the fast-forward showed: again, drawn for real from the latest frame that makes it exact.
  const RenderCallbacks callbacks = state.callbacks;
  ReleaseRenderObjects(state);
  state = RenderState{};
  state.callbacks = callbacks;
  error = Start(state, start);
  if (error.empty())
    error = DrawFramesBefore(state, scene, sequence, frameTimeMs, 0, realStart, developmentMode, true, {});
  if (error.empty())
    error = DrawFramesBefore(state, scene, sequence, frameTimeMs, realStart, frame, developmentMode, false, progress);
  if (!error.empty()) return error;
  DrawOffscreenFrame(state, scene, sequence, frameTimeMs(frame), developmentMode, layerError);
  return "";
}

std::string RenderDemoFrameToPng(const std::function<IDirect3D8*()>& direct3d, SceneState& scene,
                                 const SceneSequence& sequence, const std::string& dataDir, uint32_t demoTimeMs,
                                 FrameRate rate, uint32_t widthPx, uint32_t heightPx, bool developmentMode,
                                 const std::string& pngPath, const FrameProgress& progress) {
  // The export's frames before demoTimeMs, then demoTimeMs itself (which need not be one of its times).
  const uint64_t before = FramesBetween(demoTimeMs, demoTimeMs, rate).first;
  const FrameTimes frameTimeMs = [&](uint64_t n) { return n < before ? FixedStepFrameTimeMs(n, rate) : demoTimeMs; };
  // A layer that fails at demoTimeMs would be missing from the picture: its fault is the result.
  std::string firstLayerError;
  const LayerErrorSink keepFirst = [&firstLayerError](const std::string& text) {
    if (firstLayerError.empty()) firstLayerError = text;
  };
  RenderState state;
  state.callbacks.fatalError = keepFirst;  // a texture that fails to draw is missing from the picture too
  const OffscreenStart start{direct3d, dataDir, sequence.ScreenCinemaWidthRatio, widthPx, heightPx};
  std::string error = DrawFrameAfterFastForward(state, start, scene, sequence, frameTimeMs, before, developmentMode,
                                                keepFirst, progress);
  if (error.empty()) error = firstLayerError;
  RgbaImage image;
  DeviceExtras* extras = ExtrasOf(state.device);
  if (error.empty() && (extras == nullptr || !extras->ReadBackBuffer(image))) error = kNoPixelsText;
  if (error.empty() && progress) progress(before + 1, before + 1);
  if (error.empty()) {
    const std::string writeError = WritePng(pngPath, image);
    if (!writeError.empty()) error = PngWriteFailedText(writeError);
  }
  ReleaseRenderObjects(state);
  return error;
}
