#pragma once
// The texture a scene parameter selects: its number when a texture of that number was loaded, else
// texture 0. nullptr only when the table is empty or the entry failed to load.
#include "draw/render_state.h"

inline IDirect3DTexture8* TextureByNumber(const RenderState& state, uint8_t number) {
  const size_t index = number < state.TextureCount ? number : 0;
  return index < state.textures.size() ? state.textures[index] : nullptr;
}
