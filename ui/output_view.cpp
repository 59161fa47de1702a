#include "ui/output_view.h"

#include <FL/gl.h>
#include <FL/Fl.H>

OutputView::OutputView(int x, int y, int widthPx, int heightPx) : Fl_Gl_Window(x, y, widthPx, heightPx) {
  mode(FL_RGB8 | FL_DOUBLE | FL_DEPTH);  // the device then draws straight into the window's buffers
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

int OutputView::handle(int event) {
  Fl_Window* around = top_window();
  if ((event == FL_ENTER || event == FL_MOVE) && window()) {
    Fl_Widget* focus = Fl::focus();
    if (!focus || focus->top_window() != around) {
      previousFocus_ = std::make_unique<Fl_Widget_Tracker>(focus);
      Fl::focus(around);
    }
  }
  if (event == FL_LEAVE && previousFocus_) {
    // Back to where the keys went before, so that they follow the pointer into the other window too.
    Fl_Widget* previous = previousFocus_->widget();
    previousFocus_.reset();
    if (previous && Fl::focus() == around && !previous->take_focus()) Fl::focus(previous->top_window());
  }
  const int used = Fl_Gl_Window::handle(event);
  return event == FL_ENTER ? 1 : used;  // so that moves over the picture arrive here too
}

// Exposed between frames: black until the next frame comes. The device leaves the window's framebuffer
// bound between its calls and sets its own states anew after a paint.
void OutputView::draw() {
  ++paintCount_;
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}
