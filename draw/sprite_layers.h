#pragma once
// Screen-space sprites: the one sprite draw that layers and screen effects use, and the two sprite
// layers of a scene with their four movement presets. Positions and sizes are pixels of the back buffer;
// times are ms of effect time; colours 0xAARRGGBB.
#include <cstdint>
#include <string>

#include "draw/render_state.h"

// Begin, Draw (whole texture) and End on state.sprite. errorText: empty, or "cannot draw sprite".
void DrawSprite(RenderState& state, IDirect3DTexture8* texture, D3DXVECTOR2 scaling, D3DXVECTOR2 translation,
                D3DXVECTOR2 rotationCenter, float rotationRadians, D3DCOLOR colour, std::string& errorText);

// One sprite layer: preset 0 scrolls up, 1 scrolls right, 2 swings two copies, 3 swings and turns two
// copies (above 3 means 0). textureNumber beyond the loaded textures means 0; alpha 0 draws nothing.
// strech 1.0 is native size on a 640 × 480 viewport; offsets are fractions of the viewport, y below the
// top bar; rotation is the time divisor of preset 3 (0: no turning).
void DrawSpriteLayer(RenderState& state, uint8_t preset, uint8_t textureNumber, uint8_t alpha, float rotation,
                     float strechX, float strechY, float offsetX, float offsetY, float speed, uint32_t tMs);
