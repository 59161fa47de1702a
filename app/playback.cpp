#include "app/playback.h"

#include <exception>

#include "app/app_messages.h"
#include "app/stats_caption.h"
#include "render/frame_render.h"
#include "scene/round.h"

namespace {

void ReportLayerError(DemoEngine& engine, const std::string& text) {
  if (text == engine.lastLayerError) return;
  engine.lastLayerError = text;
  engine.host.ShowMessage(text);
}

void DrawLayer(DemoEngine& engine, uint8_t presetNumber, uint32_t startTimeMs, uint32_t endTimeMs, uint32_t demoTimeMs,
               uint32_t formWidthPx, uint32_t formHeightPx) {
  TFrameParamBlock block;
  try {
    block = UpdateSceneParams(engine.scene, presetNumber, startTimeMs, endTimeMs, engine.clock.FxTime,
                              engine.settings.developmentMode);
  } catch (const std::exception& error) {
    ReportLayerError(engine, error.what());
    return;
  }
  RenderFrame(engine.render, block, demoTimeMs, formWidthPx, formHeightPx);
}

void UpdateCaption(DemoEngine& engine) {
  CaptionSizes sizes;
  engine.host.ClientSizePx(sizes.clientWidthPx, sizes.clientHeightPx);
  sizes.ViewWidth = engine.render.ViewWidth;
  sizes.ViewHeight = engine.render.ViewHeight;
  std::string caption = StatsCaption(sizes, engine.clock, engine.sequence.DemoLength);
  if (engine.settings.music) caption = WithMusicCpu(caption, MusicCpuPercent(engine.music));
  engine.host.SetCaption(caption);
}

}  // namespace

void DrawDemoFrame(DemoEngine& engine, uint32_t demoTimeMs) {
  IDirect3DDevice8* device = engine.render.device;
  device->SetRenderState(D3DRS_SRCBLEND, 0);
  device->SetRenderState(D3DRS_DESTBLEND, 0);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  uint32_t formWidthPx = engine.render.FullWidth, formHeightPx = engine.render.FullHeight;
  if (engine.host.ClientSizePx) engine.host.ClientSizePx(formWidthPx, formHeightPx);

  if (engine.settings.developmentMode) {
    engine.clock.FxTime = demoTimeMs / 2;
    DrawLayer(engine, 0, 0, engine.sequence.DemoLength, demoTimeMs, formWidthPx, formHeightPx);
  } else {
    for (const TSceneSeqEntry& entry : engine.sequence.SequenceEntries) {
      engine.clock.FxTime = EntryEffectTime(entry, demoTimeMs);
      DrawLayer(engine, entry.PresetNumber, entry.StartTime, entry.EndTime, demoTimeMs, formWidthPx, formHeightPx);
    }
  }
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

void DemoIdle(DemoEngine& engine) {
  DemoClock& clock = engine.clock;
  ++clock.FrameCount;
  const uint32_t now = engine.host.GetTickCount();
  if (static_cast<int32_t>(now - clock.StartTick) < 0)
    FatalError(engine, kTimingFailedText);
  else
    clock.DemoTime = engine.host.GetTickCount() - clock.StartTick;
  const uint32_t frameStart = engine.host.GetTickCount();
  clock.AvgFps = static_cast<uint32_t>(Round(clock.FrameCount * 1000.0 / (clock.DemoTime + 1.0)));
  if (engine.settings.stats) UpdateCaption(engine);

  DrawDemoFrame(engine, clock.DemoTime);

  if (clock.DemoTime >= engine.sequence.DemoLength) {
    if (engine.settings.loop)
      RestartDemo(engine);
    else
      ShutdownDemo(engine);
  }
  const uint32_t frameMs = engine.host.GetTickCount() - frameStart;
  if (frameMs != 0) clock.Fps = 1000 / frameMs;
}

void RestartDemo(DemoEngine& engine) {
  engine.clock.StartTick = engine.host.GetTickCount();
  engine.clock.FrameCount = 0;
  engine.clock.DemoTime = 0;
  RestartMusic(engine.music);
}

void ShutdownDemo(DemoEngine& engine) {
  ReleaseRenderObjects(engine.render);
  if (engine.settings.music) {
    engine.music.enabled = true;  // stopped and freed even when the start-up never reached the music
    EndMusic(engine.music);
  }
  engine.terminating = true;
  engine.host.Terminate();
}
