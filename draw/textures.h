#pragma once
// The texture table loaded from numbered bitmaps, and the render-to-texture target.
#include <cstdint>
#include <string>

#include "draw/render_state.h"

// Loads fileName as an A1R5G5B5 texture with opaque black keyed transparent into state.textures[index]
// (0..254), releasing what was there. errorText: empty, or "cannot load texture (fileName: reason)".
void LoadTexture(RenderState& state, const std::string& fileName, uint16_t index, std::string& errorText);

// What the pictures of one data folder's textures may take in memory, decoded (4 bytes a pixel).
inline constexpr uint64_t kTextureMemoryBudgetBytes = uint64_t(512) << 20;

// Loads basePath + N + ".bmp" for N = 0, 1, ... up to the first missing file (at most 255 files); a file
// that fails to load (a link that leads nowhere too) goes to FatalError and leaves its entry empty, and
// so does a picture that would bring the decoded textures past budgetBytes (told from its header, before
// it is decoded). Returns the number of entries.
uint8_t LoadTextures(RenderState& state, const std::string& basePath, uint64_t budgetBytes = kTextureMemoryBudgetBytes);

// Releases the current target and creates one of size × size / 2 texels (size 2^factor, or R2tMaxSize for
// factor 0, kept within 8..R2tMaxSize), then makes its level 0 the device's render target (no depth
// buffer) after saving the current one. A failed creation goes to FatalError and returns false, leaving
// the device's target as it was.
bool BeginRenderToTexture(RenderState& state, uint8_t r2tTextureSizeTweakFactor);

// Switches back to the saved target (no depth buffer) and clears it black.
void EndRenderToTexture(RenderState& state);
