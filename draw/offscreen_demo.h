#pragma once
// Drawing demo frames with no display, for `quarnel --render` and the video export: the renderer
// started the way the program's start-up does, then frames drawn as the playback loop draws them, on a
// fixed-step clock, and read back as pictures. Times are ms, sizes pixels; error texts are empty on success.
#include <cstdint>
#include <functional>
#include <string>

#include "draw/demo_frame.h"
#include "draw/render_state.h"
#include "gpu/rgba_image.h"
#include "scene/scene_update.h"
#include "scene/sequence.h"

constexpr uint32_t kMaxOffscreenSidePx = 8192;

// The fixed-step clock of `--render` and the export: the demo time of frame n at fps frames per second
// (an fps of 0 counts as 1).
inline uint32_t FixedStepFrameTimeMs(uint64_t frame, uint32_t fps) {
  return static_cast<uint32_t>(frame * 1000 / (fps > 0 ? fps : 1));
}

// Takes over d3d (released with the state) and starts the renderer on it: a windowed device of
// widthPx × heightPx (1..8192) with no window, the start-up geometry, the sprite object, the textures
// dataDir + "/texture" + N + ".bmp", and InitFrameStates with the sequence's ratio. Returns the first
// fatal text of these steps, as the program would show it; every later FatalError goes to
// state.callbacks as before. The state's random stream is not reseeded here.
std::string StartOffscreenRenderer(RenderState& state, IDirect3D8* d3d, const std::string& dataDir,
                                   float screenCinemaWidthRatio, uint32_t widthPx, uint32_t heightPx);

// DrawDemoFrame at demoTimeMs with the back buffer's size as the window's; an error's text, empty when drawn.
// Without a layerError, an evaluation error's text is returned.
std::string DrawOffscreenFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                               uint32_t demoTimeMs, bool developmentMode, const LayerErrorSink& layerError = {});

// DrawOffscreenFrame, then the back buffer's pixels.
// Without a layerError, an evaluation error's text is returned and the picture left empty.
std::string DrawDemoFrameToImage(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                                 uint32_t demoTimeMs, bool developmentMode, RgbaImage& image,
                                 const LayerErrorSink& layerError = {});

// The whole `--render`: a fresh state (its random stream at kRepeatableSeed) starts the renderer on d3d,
// draws every frame the export at fps frames per second draws before demoTimeMs (frame n at n * 1000 / fps ms, nothing
// read back), then demo time demoTimeMs, and writes that picture to pngPath. So the picture is the
// export's frame at that time, with everything the earlier frames left: render states, the back buffer
// with no depth buffer after the first render-to-texture layer, and what no clear removed. scene and
// sequence are loaded as the start-up loads them. progress, when given, hears of every frame drawn.
using FrameProgress = std::function<void(uint64_t framesDone, uint64_t frameCount)>;
std::string RenderDemoFrameToPng(IDirect3D8* d3d, SceneState& scene, const SceneSequence& sequence,
                                 const std::string& dataDir, uint32_t demoTimeMs, uint32_t fps, uint32_t widthPx,
                                 uint32_t heightPx, bool developmentMode, const std::string& pngPath,
                                 const FrameProgress& progress = {});
