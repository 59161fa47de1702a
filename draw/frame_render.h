#pragma once
// Drawing one scene layer from its frame parameter block: states, geometry, sprite layers, planes, main
// object, point-sprite waves, ring objects and the render-to-texture effect with its re-draws.
// Device state is never saved or restored around a layer: what one layer leaves set (depth writes off,
// fog sub-states, the texture-coordinate source, the world transform) is what the next one starts with.
// Times are ms; sizes pixels.
#include <cstdint>
#include <string>

#include "draw/render_state.h"
#include "scene/frame_block.h"

// What one layer draws at most, so that no parameter value makes a frame take more than about a second
// on a 2-core machine with no GPU (bench/frame_cost_bench): planes, point-sprite waves and ring objects
// per pass. Counts above these draw as these; every shipped preset and every value the randomizer gives
// lies within them.
constexpr uint32_t kMaxPlanesDrawn = 50;
constexpr uint32_t kMaxPointSpriteWavesDrawn = 500;
constexpr uint32_t kMaxRingObjectsDrawn = 400;

// Draws the layer when block.StartTime <= demoTimeMs <= block.EndTime; otherwise touches nothing.
// formWidthPx × formHeightPx is the output window's client size (the projection's aspect; a height of 0
// is taken as 1). A failed render-target creation has gone to FatalError and ends the layer before its
// scene begins. Returns the geometry's error text ("Geometry Init Error: " + why) when its rebuild for
// this layer failed (the layer is drawn with the buffers there are), "" otherwise.
[[nodiscard]] std::string RenderFrame(RenderState& state, const TFrameParamBlock& block, uint32_t demoTimeMs,
                                      uint32_t formWidthPx, uint32_t formHeightPx);

// How many primitives of type (a D3DPRIMITIVETYPE value) the 251 curve vertices hold, at most requested;
// 0 for a value outside 1..6, which is drawn as nothing.
UINT CurvePrimitiveCount(uint32_t type, UINT requested);
