#pragma once
// The render-to-texture screen effects: the picture a layer drew into the render target is put onto the
// back buffer as screen-space sprites. Sizes in pixels of the back buffer, t in ms of effect time,
// rotation in radians.
#include <cstdint>

#include "draw/render_state.h"

// Preset 5 draws a grid of max(power, 1)² tiles; the grid side is held to this many tiles so that a
// frame stays drawable (65536 quads at most; beyond that, tiles are a few pixels or less even at the
// largest output size, and the frame would take seconds).
constexpr uint32_t kMaxTileGridSide = 256;

// Preset 0 full copy and a strip of P + 1 small copies, 1 P stretched echoes, 2 P vertical slices,
// 3 five zooming echoes, 4 nine zooming and turning echoes, 5 a grid of tiles under a translucent full
// copy (above 5 means 0). Draws the render-target texture of state; sprite errors are ignored.
void DrawR2TEffect(RenderState& state, uint8_t preset, uint16_t power, float rotation, float speed, uint32_t tMs);
