// The launcher over a fake Direct3D object, for the window tests. "Start" prints the choice on stdout,
// then the output view is painted blue a few times a second with the frame number in the caption;
// shutdown prints "shutdown" and closes the window, so the program ends with status 0.
// Arguments as the program's: "-d" first selects development mode.
#include <FL/Fl.H>
#include <FL/gl.h>

#include <cstdio>

#include "app/fake_direct3d.h"
#include "app/launcher_form.h"
#include "render/window_host.h"

namespace {

constexpr double kPaintSeconds = 0.05;

struct Probe {
  TForm1* form = nullptr;
  int frame = 0;
};

void Paint(void* data) {
  Probe& probe = *static_cast<Probe*>(data);
  WindowHost& host = probe.form->OutputView();
  host.MakeCurrent();
  glClearColor(0.2f, 0.4f, 0.9f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  host.SwapBuffers();
  probe.form->SetCaption("probe frame " + std::to_string(++probe.frame) + " \xC2\xB0");
  Fl::repeat_timeout(kPaintSeconds, Paint, data);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<D3DDISPLAYMODE> modes{{640, 480, 60, D3DFMT_R5G6B5}, {640, 480, 60, D3DFMT_X8R8G8B8},
                                          {512, 384, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8}};
  FakeDirect3D d3d({{"Probe adapter one", modes}, {"Probe adapter two / A&B", {modes[2]}}});
  Probe probe;

  LauncherCallbacks callbacks;
  callbacks.fatalError = [](const std::string& text) { std::printf("fatal %s\n", text.c_str()); };
  callbacks.start = [&probe](const DeviceChoice& choice, const LauncherSwitches& switches) {
    uint32_t widthPx = 0, heightPx = 0;
    choice.window->SizePx(widthPx, heightPx);
    choice.window->HideCursor();
    std::printf("start adapter=%u windowed=%d size=%ux%u format=%u music=%d loop=%d stats=%d view=%ux%u\n",
                choice.adapter, choice.windowed, choice.widthPx, choice.heightPx, choice.fullscreenFormat,
                switches.music, switches.loop, switches.stats, widthPx, heightPx);
    std::fflush(stdout);
    Fl::add_timeout(kPaintSeconds, Paint, &probe);
  };
  callbacks.shutdown = [&probe] {
    std::printf("shutdown\n");
    std::fflush(stdout);
    probe.form->Hide();
  };

  TForm1 form(callbacks);
  probe.form = &form;
  form.FormCreate(&d3d, IsDevelopmentSwitch(std::vector<std::string>(argv + 1, argv + argc)));
  form.Show();
  return Fl::run();
}
