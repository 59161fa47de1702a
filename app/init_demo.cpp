#include "app/init_demo.h"

#include <chrono>
#include <exception>

#include "app/app_messages.h"
#include "render/geometry.h"
#include "render/render_messages.h"
#include "render/textures.h"
#include "scene/preset_file.h"
#include "scene/round.h"
#include "scene/scene_messages.h"
#include "scene/shared_random.h"

namespace {

LoadReports ReportsTo(DemoEngine& engine) {
  LoadReports reports;
  reports.FatalError = [&engine](const std::string&, const std::string& text) { FatalError(engine, text); };
  reports.Notice = [&engine](const std::string&, const std::string& text) { engine.host.ShowMessage(text); };
  return reports;
}

// Presets and sequence; a bad number in them ends the start-up with its file and line.
bool LoadSceneData(DemoEngine& engine) {
  const LoadReports reports = ReportsTo(engine);
  const std::string& dir = engine.settings.dataDir;
  try {
    engine.scene.PresetCount = LoadScenePresets(dir + "/scene", engine.scene.ScenePresets, reports);
    if (engine.scene.PresetCount == 0) engine.host.ShowMessage(kMsgNoPresets);
    engine.SequenceCount = LoadSceneSequence(dir + "/sceneseq", engine.sequence, reports);
  } catch (const std::exception& error) {
    FatalError(engine, error.what());
    return false;
  }
  if (engine.SequenceCount == 0) FatalError(engine, kMsgNoSequence);
  return !engine.terminating;
}

void SetFixedStates(IDirect3DDevice8* device) {
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_LIGHTING, 0);
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
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

// Bars top and bottom of the ratio's height; the viewport between them.
void SetLetterbox(RenderState& render, float ratio) {
  render.FullWidth = render.ViewWidth;
  render.FullHeight = render.ViewHeight;
  render.CinemaBarHeight = static_cast<uint16_t>(Round(render.ViewHeight / static_cast<double>(ratio)));
  render.ViewHeight = static_cast<uint16_t>(render.ViewHeight - 2 * render.CinemaBarHeight);
  render.viewport = MakeViewport(0, render.CinemaBarHeight, render.ViewWidth, render.ViewHeight, 0.0f, 1.0f);
  render.device->SetViewport(&render.viewport);
}

}  // namespace

void FatalError(DemoEngine& engine, const std::string& text) {
  engine.host.ShowFatalError(text);
  engine.terminating = true;
}

bool InitDemo(DemoEngine& engine, const DeviceChoice& choice) {
  RenderState& render = engine.render;
  SeedRandom(engine.settings.randomSeed.value_or(
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())));
  engine.scene.LiveParams = InitParamTable();

  const std::string deviceError = CreateRenderDevice(render, choice);
  if (!deviceError.empty()) {
    FatalError(engine, kDeviceInitFailedPrefix + deviceError);
    return false;
  }
  const std::string missing = CheckDeviceCaps(render);
  if (engine.terminating) return false;
  if (!missing.empty()) engine.host.ShowMessage(CapsWarningText(missing));

  if (!LoadSceneData(engine)) return false;

  std::string geometryError;
  BuildGeometry(render, 0, geometryError, 1.0f, 1.0f, 1.0f);
  if (!geometryError.empty()) {
    FatalError(engine, kGeometryInitFailedPrefix + geometryError);
    return false;
  }
  if (FAILED(D3DXCreateSprite(render.device, &render.sprite))) {
    FatalError(engine, kSpriteInitFailedText);
    return false;
  }
  render.TextureCount = LoadTextures(render, engine.settings.dataDir + "/texture");
  if (render.TextureCount == 0) FatalError(engine, kNoTexturesText);
  if (engine.terminating) return false;

  SetFixedStates(render.device);
  render.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  SetupMaterial(render.device, {1.0f, 0.8f, 0.6f, 0.6f}, {1, 1, 1, 1}, {1, 1, 1, 0.3f}, {1.0f, 0.4f, 0.4f, 0.4f},
                2.0f);
  SetLetterbox(render, engine.sequence.ScreenCinemaWidthRatio);
  render.R2tMaxSize = R2tMaxSizeFor(render.ViewWidth);

  // The first target has the size a layer without a size factor would use; no zero-sized texture.
  if (FAILED(D3DXCreateTexture(render.device, render.R2tMaxSize, render.R2tMaxSize / 2, 0, D3DUSAGE_RENDERTARGET,
                               render.BackBufferFormat, D3DPOOL_DEFAULT, &render.renderTargetTexture))) {
    FatalError(engine, kRenderTargetFailedText);
    return false;
  }
  render.renderTargetWidth = render.R2tMaxSize;
  render.renderTargetHeight = render.R2tMaxSize / 2;

  engine.music.enabled = engine.settings.music;
  const std::string musicError = InitMusic(engine.music, engine.sequence.Mp3FileName);
  if (!musicError.empty()) {
    FatalError(engine, kSoundInitFailedPrefix + musicError);
    return false;
  }

  engine.clock.FrameCount = 0;
  engine.clock.DemoTime = 0;
  engine.clock.StartTick = engine.host.GetTickCount();
  return true;
}
