#pragma once
// Drawing one scene layer from its frame parameter block: states, geometry, sprite layers, planes, main
// object, point-sprite waves, ring objects and the render-to-texture effect with its re-draws.
// Device state is never saved or restored around a layer: what one layer leaves set (depth writes off,
// fog sub-states, the texture-coordinate source, the world transform) is what the next one starts with.
// Times are ms; sizes pixels.
#include <cstdint>

#include "render/render_state.h"
#include "scene/frame_block.h"

// Draws the layer when block.StartTime <= demoTimeMs <= block.EndTime; otherwise touches nothing.
// formWidthPx × formHeightPx is the output window's client size (the projection's aspect; a height of 0
// is taken as 1). A failed render-target creation has gone to FatalError and ends the layer before its
// scene begins.
void RenderFrame(RenderState& state, const TFrameParamBlock& block, uint32_t demoTimeMs, uint32_t formWidthPx,
                 uint32_t formHeightPx);

// How many primitives of type (a D3DPRIMITIVETYPE value) the 251 curve vertices hold, at most requested;
// 0 for a value outside 1..6, which is drawn as nothing.
UINT CurvePrimitiveCount(uint32_t type, UINT requested);
