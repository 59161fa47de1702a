#pragma once
// The renderer's part of the start-up (geometry, sprite, textures, fixed states, material, letterbox,
// first render target) and of
// the playback loop (one whole frame: clear, every scene layer, present). Times are ms, sizes pixels.
#include <cstdint>
#include <functional>
#include <string>

#include "draw/render_state.h"
#include "scene/scene_update.h"
#include "scene/sequence.h"

// Start-up once the device exists: the start-up geometry (preset 0, tweaks 1, 1, 1), the sprite object
// and the textures dataDir + "/texture" + N + ".bmp". Returns the fatal text of the first step that
// failed ("Geometry Init Error: ...", the sprite text, "Loading Error: no textures found!"), empty on
// success; a texture that fails to load goes to state.callbacks.fatalError and the scan goes on.
[[nodiscard]] std::string CreateSceneObjects(RenderState& state, const std::string& dataDir);

// Start-up after the textures are loaded: the fixed render and texture-stage states, a clear of the
// whole back buffer to black, the material, the letterbox (FullWidth/FullHeight, CinemaBarHeight =
// Round(ViewHeight / ratio), ViewHeight between the bars, the saved viewport set on the device),
// R2tMaxSize and the first render-target texture. screenCinemaWidthRatio is above 2 and at most 10;
// other values still leave a drawing area of at least 0 rows. Returns an error text, empty on success.
[[nodiscard]] std::string InitFrameStates(RenderState& state, float screenCinemaWidthRatio);

// The bar height for a back buffer heightPx high: Round(heightPx / ratio), at most half the height;
// 0 for a ratio that is not a positive number.
uint16_t CinemaBarHeightFor(uint16_t heightPx, float screenCinemaWidthRatio);

// One frame of the playback loop at demo time demoTimeMs: blend factors 0, clear black, then either
// (developmentMode) the live set at effect time demoTimeMs / 2 in the window 0..DemoLength, or every
// sequence entry in file order at its own effect time with its tracks at its local time, each evaluated
// by UpdateSceneParams and drawn by RenderFrame; then Present. fxTimeMs receives the effect time of the last layer on
// screen (the last entry whose window holds demoTimeMs; kept when there is none). formWidthPx × formHeightPx: the
// output window's client size. A layer whose evaluation fails (RangeError) is skipped and its text ("preset N: " + the
// evaluator's text in normal play) handed to layerError; a layer whose geometry could not be rebuilt is drawn with the
// buffers there are and its text ("preset N: Geometry Init Error: ...") handed on the same way. layerError is required;
// a caller that stops at a fault (the export, --render) does so after the frame.
using LayerErrorSink = std::function<void(const std::string& text)>;
void DrawDemoFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                   bool developmentMode, uint32_t formWidthPx, uint32_t formHeightPx, uint32_t& fxTimeMs,
                   const LayerErrorSink& layerError);
