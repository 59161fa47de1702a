// The launcher for the window tests. "Start" prints the choice on stdout, then the output view is painted
// blue a few times a second with the frame number in the caption; shutdown prints "shutdown" and closes
// the window, so the program ends with status 0.
// Arguments: "-d" first selects development mode as in the program. "--gl" lists the OpenGL Direct3D
// object's adapter and modes and paints through a device created on it (Clear and Present); otherwise a
// fake Direct3D object offers two adapters and the view is painted with OpenGL directly.
#include <FL/Fl.H>
#include <FL/gl.h>

#include <cstdio>

#include <algorithm>

#include "support/fake_direct3d.h"
#include "ui/launcher_window.h"
#include "draw/device_setup.h"
#include "gpu/gl_direct3d.h"
#include "draw/render_state.h"
#include "gpu/window_host.h"

namespace {

constexpr double kPaintSeconds = 0.05;

constexpr D3DCOLOR kBlue = 0xFF3366E6;

struct Probe {
  LauncherWindow* form = nullptr;
  RenderState render;  // the device, with --gl
  int frame = 0;
};

void Paint(void* data) {
  Probe& probe = *static_cast<Probe*>(data);
  if (IDirect3DDevice8* device = probe.render.device) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
  } else {
    WindowHost& host = probe.form->OutputView();
    host.MakeCurrent();
    glClearColor(0x33 / 255.0f, 0x66 / 255.0f, 0xE6 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    host.SwapBuffers();
  }
  probe.form->SetCaption("probe frame " + std::to_string(++probe.frame) + " \xC2\xB0");
  Fl::repeat_timeout(kPaintSeconds, Paint, data);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool gl = std::find(args.begin(), args.end(), "--gl") != args.end();
  const std::vector<D3DDISPLAYMODE> modes{{640, 480, 60, D3DFMT_R5G6B5},
                                          {640, 480, 60, D3DFMT_X8R8G8B8},
                                          {512, 384, 60, D3DFMT_X8R8G8B8},
                                          {800, 600, 60, D3DFMT_X8R8G8B8}};
  FakeDirect3D fake({{"Probe adapter one", modes}, {"Probe adapter two / A&B", {modes[2]}}});
  Probe probe;
  if (gl) {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, 0);
    probe.render.d3d = CreateGLDirect3D8({{UINT(w), UINT(h), 60, D3DFMT_X8R8G8B8}});
    probe.render.callbacks.fatalError = [](const std::string& text) { std::printf("fatal %s\n", text.c_str()); };
  }

  LauncherCallbacks callbacks;
  callbacks.fatalError = [](const std::string& text) { std::printf("fatal %s\n", text.c_str()); };
  callbacks.start = [&probe](const DeviceChoice& choice, const LauncherSwitches& switches) {
    uint32_t widthPx = 0, heightPx = 0;
    choice.window->SizePx(widthPx, heightPx);
    choice.window->HideCursor();
    if (probe.render.d3d) {
      const std::string error = CreateRenderDevice(probe.render, choice);
      std::printf("device %s\n", error.empty() ? "created" : error.c_str());
    }
    std::printf("start adapter=%u windowed=%d size=%ux%u format=%u music=%d loop=%d stats=%d view=%ux%u\n",
                choice.adapter, choice.windowed, choice.widthPx, choice.heightPx, choice.fullscreenFormat,
                switches.music, switches.loop, switches.stats, widthPx, heightPx);
    std::fflush(stdout);
    Fl::add_timeout(kPaintSeconds, Paint, &probe);
  };
  callbacks.shutdown = [&probe] {
    std::printf("shutdown\n");
    std::fflush(stdout);
    ReleaseRenderObjects(probe.render);
    probe.form->Hide();
  };

  LauncherWindow form(callbacks);
  probe.form = &form;
  form.SetUp(gl ? probe.render.d3d : &fake, IsDevelopmentSwitch(args));
  form.Show();
  return Fl::run();
}
