#include "draw/demo_frame.h"

#include <algorithm>
#include <cmath>

#include "draw/device_records.h"
#include "draw/frame_render.h"
#include "draw/geometry.h"
#include "draw/draw_messages.h"
#include "draw/textures.h"
#include "scene/errors.h"
#include "scene/round.h"

namespace {

void SetFixedStates(IDirect3DDevice8* device) {
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_LIGHTING, false);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_CURRENT);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_BLENDDIFFUSEALPHA);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2);
  device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
  device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR2);
  device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
  device->SetRenderState(D3DRS_AMBIENT, 0x32968C82);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, true);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

constexpr D3DCOLOR kOpaqueBlack = 0xFF000000;

}  // namespace

uint16_t CinemaBarHeightFor(uint16_t heightPx, float screenCinemaWidthRatio) {
  const double ratio = screenCinemaWidthRatio;
  if (!(ratio > 0) || !std::isfinite(ratio)) return 0;
  return uint16_t(std::min(Round(heightPx / ratio), double(heightPx / 2)));
}

std::string CreateSceneObjects(RenderState& state, const std::string& dataDir) {
  std::string geometryError;
  BuildGeometry(state, 0, geometryError, 1.0f, 1.0f, 1.0f);
  if (!geometryError.empty()) return kGeometryInitPrefix + geometryError;
  if (FAILED(D3DXCreateSprite(state.device, &state.sprite))) {
    state.sprite = nullptr;
    return kSpriteInitFailedText;
  }
  state.TextureCount = LoadTextures(state, dataDir + "/texture");
  if (state.TextureCount == 0) return kNoTexturesText;
  return "";
}

std::string InitFrameStates(RenderState& state, float screenCinemaWidthRatio) {
  IDirect3DDevice8* device = state.device;
  if (device == nullptr) return kRenderTargetInitFailedText;
  SetFixedStates(device);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kOpaqueBlack, 1.0f, 0);
  SetupMaterial(device, {1.0f, 0.8f, 0.6f, 0.6f}, {1, 1, 1, 1}, {1, 1, 1, 0.3f}, {1.0f, 0.4f, 0.4f, 0.4f}, 2.0f);

  state.FullWidth = state.ViewWidth;
  state.FullHeight = state.ViewHeight;
  state.CinemaBarHeight = CinemaBarHeightFor(state.ViewHeight, screenCinemaWidthRatio);
  state.ViewHeight = uint16_t(state.ViewHeight - 2 * state.CinemaBarHeight);
  state.viewport = MakeViewport(0, state.CinemaBarHeight, state.ViewWidth, state.ViewHeight, 0.0f, 1.0f);
  device->SetViewport(&state.viewport);

  state.R2tMaxSize = R2tMaxSizeFor(state.ViewWidth);
  if (FAILED(D3DXCreateTexture(device, state.renderTargetWidth, state.renderTargetHeight, 0, D3DUSAGE_RENDERTARGET,
                               state.BackBufferFormat, D3DPOOL_DEFAULT, &state.renderTargetTexture))) {
    state.renderTargetTexture = nullptr;
    return kRenderTargetInitFailedText;
  }
  return "";
}

void DrawDemoFrame(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                   bool developmentMode, uint32_t formWidthPx, uint32_t formHeightPx, uint32_t& fxTimeMs,
                   const LayerErrorSink& layerError) {
  IDirect3DDevice8* device = state.device;
  if (device == nullptr) return;
  const auto drawLayer = [&](uint8_t presetNumber, uint32_t startTimeMs, uint32_t endTimeMs, uint32_t layerFxTimeMs,
                             const TracksAt& tracks) {
    // In normal play a layer's fault names the preset the layer plays (preset 0 for a number not loaded).
    const auto report = [&](const std::string& fault) {
      const int played = presetNumber < scene.PresetCount ? presetNumber : 0;
      const std::string text = developmentMode ? fault : kLayerPresetText + std::to_string(played) + ": " + fault;
      layerError(text);
    };
    TFrameParamBlock block;
    try {
      block = UpdateSceneParams(scene, presetNumber, startTimeMs, endTimeMs, layerFxTimeMs, developmentMode, tracks);
    } catch (const RangeError& error) {
      return report(error.what());
    }
    const std::string geometryError = RenderFrame(state, block, demoTimeMs, formWidthPx, formHeightPx);
    if (!geometryError.empty()) report(geometryError);
  };
  device->SetRenderState(D3DRS_SRCBLEND, 0);
  device->SetRenderState(D3DRS_DESTBLEND, 0);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kOpaqueBlack, 1.0f, 0);
  if (developmentMode) {
    fxTimeMs = demoTimeMs / 2;
    drawLayer(0, 0, sequence.DemoLength, fxTimeMs, {});
  } else {
    for (const TSceneSeqEntry& entry : sequence.SequenceEntries) {
      const uint32_t entryFxTimeMs = EntryEffectTime(entry, demoTimeMs);
      drawLayer(entry.PresetNumber, entry.StartTime, entry.EndTime, entryFxTimeMs, EntryTracksAt(entry, demoTimeMs));
      // What the caption shows: the effect time of a layer on screen, not of one outside its window.
      if (EntryVisible(entry, demoTimeMs)) fxTimeMs = entryFxTimeMs;
    }
  }
  device->Present(nullptr, nullptr, nullptr, nullptr);
}
