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

// The frame rate of `--render` and the export: numerator / denominator frames per second (60, or
// 30000/1001 for NTSC's 29.97).
struct FrameRate {
  uint32_t numerator = 60, denominator = 1;
};

// The fixed-step clock of `--render` and the export: the demo time of frame n, n * 1000 / rate ms
// rounded down (a numerator of 0 counts as 1).
inline uint32_t FixedStepFrameTimeMs(uint64_t frame, FrameRate rate) {
  const uint64_t numerator = rate.numerator > 0 ? rate.numerator : 1;
  return static_cast<uint32_t>(frame * 1000 * rate.denominator / numerator);
}

// The frames of that clock from the first at or after fromMs to the last at or before toMs (none when
// first > last). From 0 to the demo's length these are the frames of a whole export.
struct FrameSpan {
  uint64_t first = 0, last = 0;
};
FrameSpan FramesBetween(uint32_t fromMs, uint32_t toMs, FrameRate rate);

// Takes over d3d (released with the state) and starts the renderer on it: a windowed device of
// widthPx × heightPx (1..8192) with no window, the start-up geometry, the sprite object, the textures
// dataDir + "/texture" + N + ".bmp", and InitFrameStates with the sequence's ratio. Returns the first
// fatal text of these steps, as the program would show it (kNoFatalErrorSinkText when
// state.callbacks.fatalError, which every later FatalError goes to, is empty). The state's random
// stream is not reseeded here.
[[nodiscard]] std::string StartOffscreenRenderer(RenderState& state, IDirect3D8* d3d, const std::string& dataDir,
                                                 float screenCinemaWidthRatio, uint32_t widthPx, uint32_t heightPx);

// DrawDemoFrame at demoTimeMs with the back buffer's size as the window's; a layer's fault goes to layerError.
void DrawOffscreenFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                        bool developmentMode, const LayerErrorSink& layerError);

// DrawOffscreenFrame, then the back buffer's pixels: "", or kNoPixelsText with the picture left empty.
[[nodiscard]] std::string DrawDemoFrameToImage(RenderState& state, SceneState& scene, const SceneSequence& sequence,
                                               uint32_t demoTimeMs, bool developmentMode, RgbaImage& image,
                                               const LayerErrorSink& layerError);

// How an offscreen renderer is started, kept so that it can be started again: a new Direct3D object
// for each start, and the rest of StartOffscreenRenderer's arguments.
struct OffscreenStart {
  std::function<IDirect3D8*()> direct3d;
  std::string dataDir;
  float screenCinemaWidthRatio = 0;
  uint32_t widthPx = 0, heightPx = 0;
};

// Frame n's demo time.
using FrameTimes = std::function<uint32_t(uint64_t frame)>;
// Hears of every frame drawn (or fast-forwarded) on the way to the one asked for.
using FrameProgress = std::function<void(uint64_t framesDone, uint64_t frameCount)>;

// Starts the renderer on state (fresh: its random stream at kRepeatableSeed) and draws frame `frame`
// (at frameTimeMs(frame)) exactly as drawing every frame from 0 leaves it, in about the time of that
// frame and its clear horizon: the frames before it are fast-forwarded, and when the frame drawn then
// would show pixels the fast-forward left (a preset that keeps pixels), the renderer starts again and
// draws for real from the latest frame from which the result is exact. The result is the start-up's
// fatal text, or the first layer failure of a frame before `frame` with where it failed (as the export
// stops there), or ""; frame `frame`'s own layer faults go to layerError. The back buffer then holds
// the frame. progress, when given, hears of each frame on the way.
[[nodiscard]] std::string DrawFrameAfterFastForward(RenderState& state, const OffscreenStart& start, SceneState& scene,
                                                    const SceneSequence& sequence, const FrameTimes& frameTimeMs,
                                                    uint64_t frame, bool developmentMode,
                                                    const LayerErrorSink& layerError,
                                                    const FrameProgress& progress = {});

// The whole `--render`: the frame at demoTimeMs after every frame the export at rate draws before it
// (FixedStepFrameTimeMs), through DrawFrameAfterFastForward, written to
// pngPath. So the picture is the export's frame at that time, with everything the earlier frames left:
// render states, the back buffer with no depth buffer after the first render-to-texture layer, and
// what no clear removed. scene and sequence are loaded as the start-up loads them. A layer that fails
// to evaluate in an earlier frame fails the render as it fails the export, with its text and where it
// failed first, and so does one that fails in the frame itself (nothing is written). progress, when
// given, hears of every frame on the way.
[[nodiscard]] std::string RenderDemoFrameToPng(const std::function<IDirect3D8*()>& direct3d, SceneState& scene,
                                               const SceneSequence& sequence, const std::string& dataDir,
                                               uint32_t demoTimeMs, FrameRate rate, uint32_t widthPx, uint32_t heightPx,
                                               bool developmentMode, const std::string& pngPath,
                                               const FrameProgress& progress = {});
