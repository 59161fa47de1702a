#include "cli/render_command.h"

#include <chrono>
#include <cstdio>

#include <unistd.h>

#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/frame_progress.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"

int RunRender(uint32_t demoTimeMs, const std::string& pngPath, FrameRate rate, uint32_t widthPx, uint32_t heightPx,
              const std::string& dataDir) {
  LoadedDemo demo;
  if (!LoadDataFolder(dataDir, demo)) return 1;
  if (demoTimeMs > demo.sequence.DemoLength) {
    PrintReport(PastEndText("--render", demoTimeMs, demo.sequence.DemoLength));
    return 1;
  }
  // A late frame may need frames before it drawn for real: on a terminal, the bar shows how far it is.
  const auto start = std::chrono::steady_clock::now();
  bool barShown = false;
  const FrameProgress progress = [start, &barShown](uint64_t done, uint64_t total) {
    if (done % 10 != 0 && done != total) return;
    ShowFrameProgress(done, total, start);
    barShown = isatty(STDERR_FILENO);
  };
  const std::string error =
      RenderDemoFrameToPng([] { return Direct3DCreate8(D3D_SDK_VERSION); }, demo.scene, demo.sequence, dataDir,
                           demoTimeMs, rate, widthPx, heightPx, false, pngPath, progress);
  if (barShown) std::fputc('\n', stderr);
  if (!error.empty()) PrintReport(error);
  return error.empty() ? 0 : 1;
}
