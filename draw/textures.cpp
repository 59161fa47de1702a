#include "draw/textures.h"

#include <algorithm>

#include "gpu/bmp_decode.h"
#include "gpu/gpu_messages.h"
#include "gpu/ref_counted.h"
#include "draw/draw_messages.h"
#include "scene/file_read.h"

namespace {

void FatalError(RenderState& state, const std::string& text) { state.callbacks.fatalError(text); }

}  // namespace

void LoadTexture(RenderState& state, const std::string& fileName, uint16_t index, std::string& errorText) {
  errorText.clear();
  if (index >= kTextureTableSize) {
    errorText = TextureLoadErrorText(fileName, kTextureNumberTooHighText);
    return;
  }
  if (state.textures.size() <= index) state.textures.resize(index + 1, nullptr);
  ReleaseReference(state.textures[index]);
  constexpr D3DCOLOR kOpaqueBlackKey = 0xFF000000;
  if (state.device == nullptr ||
      FAILED(D3DXCreateTextureFromFileExA(state.device, fileName.c_str(), 0, 0, 1, 0, D3DFMT_A1R5G5B5, D3DPOOL_DEFAULT,
                                          D3DX_FILTER_NONE, D3DX_FILTER_NONE, kOpaqueBlackKey, nullptr, nullptr,
                                          &state.textures[index]))) {
    state.textures[index] = nullptr;
    // The loader says only that it failed: the picture is read once more to learn why.
    RgbaImage picture;
    const std::string reason = ReadBmpFile(fileName, picture);
    errorText = TextureLoadErrorText(fileName, reason.empty() ? kTextureNotMadeText : reason);
  }
}

uint8_t LoadTextures(RenderState& state, const std::string& basePath, uint64_t budgetBytes) {
  for (IDirect3DTexture8*& texture : state.textures) ReleaseReference(texture);
  state.textures.assign(kTextureTableSize, nullptr);
  uint64_t decodedBytes = 0;  // of the textures loaded so far, as their pictures are decoded
  size_t n = 0;
  for (; n < kTextureTableSize; ++n) {
    const std::string fileName = basePath + std::to_string(n) + ".bmp";
    if (!EntryExists(fileName)) break;
    // The header tells what decoding will take before it is taken; a header too large for the decoder
    // is left to the decoder's own reason.
    uint32_t widthPx = 0, heightPx = 0;
    uint64_t pictureBytes = 0;
    if (ReadBmpSize(fileName, widthPx, heightPx) && widthPx <= kMaxBmpSidePx && heightPx <= kMaxBmpSidePx)
      pictureBytes = uint64_t(widthPx) * heightPx * 4;
    std::string errorText;
    if (decodedBytes + pictureBytes > budgetBytes)
      errorText = TextureLoadErrorText(fileName,
                                       TextureBudgetText(widthPx, heightPx, decodedBytes + pictureBytes, budgetBytes));
    else LoadTexture(state, fileName, uint16_t(n), errorText);
    if (errorText.empty()) decodedBytes += pictureBytes;
    if (!errorText.empty()) FatalError(state, TextureInitErrorText(unsigned(n), errorText));
  }
  state.textures.resize(n);
  return uint8_t(n);
}

bool BeginRenderToTexture(RenderState& state, uint8_t r2tTextureSizeTweakFactor) {
  ReleaseReference(state.renderTargetTexture);

  const uint32_t maxSize = state.R2tMaxSize;
  uint32_t size =
      r2tTextureSizeTweakFactor == 0 || r2tTextureSizeTweakFactor >= 16 ? maxSize : 1u << r2tTextureSizeTweakFactor;
  size = std::max<uint32_t>(std::min(size, maxSize), 8);  // never below 8, even with no maximum set
  state.renderTargetWidth = uint16_t(size);
  state.renderTargetHeight = uint16_t(size / 2);

  if (state.device == nullptr ||
      FAILED(D3DXCreateTexture(state.device, state.renderTargetWidth, state.renderTargetHeight, 0,
                               D3DUSAGE_RENDERTARGET, state.BackBufferFormat, D3DPOOL_DEFAULT,
                               &state.renderTargetTexture))) {
    state.renderTargetTexture = nullptr;
    FatalError(state, kRenderTargetInitFailedText);
    return false;
  }

  ReleaseReference(state.savedBackBufferSurface);
  if (FAILED(state.device->GetRenderTarget(&state.savedBackBufferSurface))) state.savedBackBufferSurface = nullptr;
  ReleaseReference(state.renderTargetSurface);
  if (FAILED(state.renderTargetTexture->GetSurfaceLevel(0, &state.renderTargetSurface))) {
    state.renderTargetSurface = nullptr;
    return false;
  }
  state.device->SetRenderTarget(state.renderTargetSurface, nullptr);
  return true;
}

void EndRenderToTexture(RenderState& state) {
  if (state.device == nullptr) return;
  if (state.savedBackBufferSurface != nullptr) state.device->SetRenderTarget(state.savedBackBufferSurface, nullptr);
  state.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
}
