#include "engine/playback.h"

#include <algorithm>

#include "engine/engine_messages.h"
#include "engine/stats_caption.h"
#include "draw/demo_frame.h"
#include "scene/round.h"

namespace {

// The output form's size as the frame reads it: the window's client area, or in fullscreen the display
// mode the picture is drawn at (Direct3D switches the display to the mode, so the form has the back
// buffer's size; here the window covers the monitor and the picture is scaled into it).
void FormSizePx(DemoEngine& engine, uint32_t& widthPx, uint32_t& heightPx) {
  if (engine.render.windowedOutput) {
    engine.host.ClientSizePx(widthPx, heightPx);
    return;
  }
  widthPx = engine.render.FullWidth;
  heightPx = engine.render.FullHeight;
}

void UpdateCaption(DemoEngine& engine) {
  CaptionSizes sizes;
  FormSizePx(engine, sizes.clientWidthPx, sizes.clientHeightPx);
  sizes.ViewWidth = engine.render.ViewWidth;
  sizes.ViewHeight = engine.render.ViewHeight;
  std::string caption = StatsCaption(sizes, engine.clock, engine.sequence.DemoLength);
  if (engine.settings.music) caption = WithMusicCpu(caption, MusicCpuPercent(engine.music));
  engine.host.SetCaption(caption);
}

}  // namespace

void DemoIdle(DemoEngine& engine, uint32_t nowMs) {
  DemoClock& clock = engine.clock;
  ++clock.FrameCount;
  if (static_cast<int32_t>(nowMs - clock.StartTick) < 0) FatalError(engine, kTimingFailedText);
  else
    // The last frame shows the demo's end, not a moment after it that no check has seen.
    clock.DemoTime = std::min(nowMs - clock.StartTick, engine.sequence.DemoLength);
  const uint32_t frameStart = engine.host.WallTickMs();
  clock.AvgFps = static_cast<uint32_t>(Round(clock.FrameCount * 1000.0 / (clock.DemoTime + 1.0)));
  if (engine.settings.stats) UpdateCaption(engine);

  uint32_t formWidthPx = 0, formHeightPx = 0;
  FormSizePx(engine, formWidthPx, formHeightPx);
  const LayerErrorSink layerError = [&engine](const std::string& text) {
    if (TakeLayerError(engine.layerErrors, text)) engine.host.ShowMessage(text);
    if (engine.host.ShowNotice) engine.host.ShowNotice(text);
  };
  DrawDemoFrame(engine.render, engine.scene, engine.sequence, clock.DemoTime, engine.liveSetOnly, formWidthPx,
                formHeightPx, clock.FxTime, layerError);
  EndLayerErrorFrame(engine.layerErrors, engine.settings.developmentMode);

  if (clock.DemoTime >= engine.sequence.DemoLength) {
    if (engine.settings.loop) RestartDemo(engine, nowMs);
    else ShutdownDemo(engine);
  }
  const uint32_t frameMs = engine.host.WallTickMs() - frameStart;
  if (frameMs != 0) clock.Fps = 1000 / frameMs;
}

void RestartDemo(DemoEngine& engine, uint32_t nowMs) {
  StartDemoClock(engine.clock, nowMs);
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
