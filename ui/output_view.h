#pragma once
// The drawing area of the output window: an OpenGL child window filling the launcher window once the
// demo runs. The Direct3D device presents into it through WindowHost.
#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>

#include <memory>

#include "gpu/window_host.h"

class OutputView final : public Fl_Gl_Window, public WindowHost {
 public:
  OutputView(int x, int y, int widthPx, int heightPx);

  void MakeCurrent() override;
  void SwapBuffers() override;
  void SizePx(uint32_t& widthPx, uint32_t& heightPx) override;
  void HideCursor() override;  // over the view and the window around it
  uint64_t PaintCount() override { return paintCount_; }
  // The pointer over the picture gives the window around it the keyboard: keys need no click first.
  // Leaving it gives the keyboard back to the widget that had it.
  int handle(int event) override;

 private:
  void draw() override;  // when exposed between frames: black
  std::unique_ptr<Fl_Widget_Tracker> previousFocus_;
  uint64_t paintCount_ = 0;  // the focus the pointer took away on entering
};
