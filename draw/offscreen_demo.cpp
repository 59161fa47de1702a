#include "draw/offscreen_demo.h"

#include <exception>

#include "draw/demo_frame.h"
#include "gpu/device_extras.h"
#include "draw/device_setup.h"
#include "draw/draw_messages.h"

namespace {

std::string StartSteps(RenderState& state, const std::string& dataDir, float ratio, uint32_t widthPx,
                       uint32_t heightPx, const std::string& firstFatal) {
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
  if (widthPx < 1 || heightPx < 1 || widthPx > kMaxOffscreenSidePx || heightPx > kMaxOffscreenSidePx)
    return OffscreenSizeText(widthPx, heightPx);
  // Texture loading reports through FatalError and goes on; the first such text ends the start-up.
  const RenderCallbacks previous = state.callbacks;
  std::string firstFatal;
  state.callbacks.fatalError = [&](const std::string& text) {
    if (firstFatal.empty()) firstFatal = text;
    if (previous.fatalError) previous.fatalError(text);
  };
  const std::string error = StartSteps(state, dataDir, screenCinemaWidthRatio, widthPx, heightPx, firstFatal);
  state.callbacks = previous;
  return error;
}

std::string DrawOffscreenFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                               uint32_t demoTimeMs, bool developmentMode, const LayerErrorSink& layerError) {
  uint32_t fxTimeMs = 0;
  try {
    DrawDemoFrame(state, scene, sequence, demoTimeMs, developmentMode, state.FullWidth, state.FullHeight, fxTimeMs,
                  layerError);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

std::string DrawDemoFrameToImage(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                                 uint32_t demoTimeMs, bool developmentMode, RgbaImage& image,
                                 const LayerErrorSink& layerError) {
  image = {};
  const std::string error = DrawOffscreenFrame(state, scene, sequence, demoTimeMs, developmentMode, layerError);
  if (!error.empty()) return error;
  DeviceExtras* extras = ExtrasOf(state.device);
  if (extras == nullptr || !extras->ReadBackBuffer(image)) return kNoPixelsText;
  return "";
}

std::string RenderDemoFrameToPng(IDirect3D8* d3d, SceneState& scene, const SceneSequence& sequence,
                                 const std::string& dataDir, uint32_t demoTimeMs, uint32_t fps, uint32_t widthPx,
                                 uint32_t heightPx, bool developmentMode, const std::string& pngPath,
                                 const FrameProgress& progress) {
  RenderState state;  // its random stream starts at kRepeatableSeed
  const uint64_t before = (uint64_t{demoTimeMs} * (fps > 0 ? fps : 1) + 999) / 1000;  // frames before demoTimeMs
  std::string error =
      StartOffscreenRenderer(state, d3d, dataDir, sequence.ScreenCinemaWidthRatio, widthPx, heightPx);
  if (error.empty()) {
    // The frames before, as the export draws them (their failing layers skipped), leave the device and
    // the back buffer as they are when the export reaches demoTimeMs.
    const LayerErrorSink skipFailingLayer = [](const std::string&) {};
    uint32_t fxTimeMs = 0;
    for (uint64_t n = 0; FixedStepFrameTimeMs(n, fps) < demoTimeMs; ++n) {
      DrawDemoFrame(state, scene, sequence, FixedStepFrameTimeMs(n, fps), developmentMode, state.FullWidth,
                    state.FullHeight, fxTimeMs, skipFailingLayer);
      if (progress) progress(n + 1, before + 1);
    }
  }
  RgbaImage image;
  if (error.empty()) error = DrawDemoFrameToImage(state, scene, sequence, demoTimeMs, developmentMode, image);
  if (error.empty() && progress) progress(before + 1, before + 1);
  if (error.empty()) {
    const std::string writeError = WritePng(pngPath, image);
    if (!writeError.empty()) error = PngWriteFailedText(writeError);
  }
  ReleaseRenderObjects(state);
  return error;
}
