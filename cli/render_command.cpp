#include "cli/render_command.h"

#include "cli/cli_messages.h"
#include "cli/console_load.h"
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
  const std::string error = RenderDemoFrameToPng([] { return Direct3DCreate8(D3D_SDK_VERSION); }, demo.scene, demo.sequence, dataDir,
                                                 demoTimeMs, rate, widthPx, heightPx, false, pngPath);
  if (!error.empty()) PrintReport(error);
  return error.empty() ? 0 : 1;
}
