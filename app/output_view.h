#pragma once
// The drawing area of the output window: an OpenGL child window filling the launcher window once the
// demo runs. The Direct3D device presents into it through WindowHost.
#include <FL/Fl_Gl_Window.H>

#include "render/window_host.h"

class OutputView final : public Fl_Gl_Window, public WindowHost {
 public:
  OutputView(int x, int y, int widthPx, int heightPx);

  void MakeCurrent() override;
  void SwapBuffers() override;
  void SizePx(uint32_t& widthPx, uint32_t& heightPx) override;
  void HideCursor() override;  // over the view and the window around it
  // The pointer over the picture gives the window around it the keyboard: keys need no click first.
  int handle(int event) override;

 private:
  void draw() override;  // when exposed between frames: black
};
