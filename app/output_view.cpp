#include "app/output_view.h"

#include <FL/gl.h>

OutputView::OutputView(int x, int y, int widthPx, int heightPx) : Fl_Gl_Window(x, y, widthPx, heightPx) {
  mode(FL_RGB8 | FL_DOUBLE);
}

void OutputView::MakeCurrent() { make_current(); }

void OutputView::SwapBuffers() { swap_buffers(); }

void OutputView::SizePx(uint32_t& widthPx, uint32_t& heightPx) {
  widthPx = static_cast<uint32_t>(w());
  heightPx = static_cast<uint32_t>(h());
}

void OutputView::HideCursor() {
  cursor(FL_CURSOR_NONE);
  if (window()) window()->cursor(FL_CURSOR_NONE);
}

// Exposed between frames: black until the next frame comes. The device leaves the window's framebuffer
// bound between its calls and sets its own states anew for each draw.
void OutputView::draw() {
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}
