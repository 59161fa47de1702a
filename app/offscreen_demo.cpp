#include "app/offscreen_demo.h"

#include <cstdio>

#include "app/app_messages.h"
#include "app/init_demo.h"
#include "app/playback.h"
#include "render/gl_direct3d.h"

namespace {
constexpr uint64_t kFixedSeed = 20261207;
}

bool StartOffscreenDemo(DemoEngine& engine, const std::string& dataDir, uint32_t widthPx, uint32_t heightPx) {
  engine.settings.dataDir = dataDir;
  engine.settings.music = false;
  engine.settings.randomSeed = kFixedSeed;
  engine.host.GetTickCount = [] { return 0u; };
  engine.host.ShowFatalError = [](const std::string& text) { std::fprintf(stderr, "%s: %s\n", kFatalErrorTitle, text.c_str()); };
  engine.host.ShowMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  engine.host.SetCaption = [](const std::string&) {};
  engine.host.ClientSizePx = [widthPx, heightPx](uint32_t& w, uint32_t& h) { w = widthPx, h = heightPx; };
  engine.host.Terminate = [] {};

  engine.render.d3d = Direct3DCreate8(D3D_SDK_VERSION);
  if (!engine.render.d3d) {
    FatalError(engine, kNoDirect3DText);
    return false;
  }
  DeviceChoice choice;
  choice.windowed = true;
  choice.widthPx = widthPx;
  choice.heightPx = heightPx;
  return InitDemo(engine, choice);
}

bool RenderOffscreenFrame(DemoEngine& engine, uint32_t demoTimeMs, RgbaImage& image) {
  engine.clock.DemoTime = demoTimeMs;
  DrawDemoFrame(engine, demoTimeMs);
  return ReadBackBuffer(engine.render.device, image);
}

int RunRender(uint32_t demoTimeMs, const std::string& pngPath, uint32_t widthPx, uint32_t heightPx,
              const std::string& dataDir) {
  DemoEngine engine;
  RgbaImage image;
  const bool drawn = StartOffscreenDemo(engine, dataDir, widthPx, heightPx) &&
                     RenderOffscreenFrame(engine, demoTimeMs, image);
  const bool written = drawn && WritePng(pngPath, image);
  if (drawn && !written) std::fprintf(stderr, "cannot write %s\n", pngPath.c_str());
  ShutdownDemo(engine);
  return written ? 0 : 1;
}
