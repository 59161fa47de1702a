#include "app/output_view.h"

#define GL_GLEXT_PROTOTYPES
#include <FL/gl.h>
#include <GL/glext.h>
#include <FL/Fl.H>

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

int OutputView::handle(int event) {
  if ((event == FL_ENTER || event == FL_MOVE) && window()) {
    Fl_Widget* focus = Fl::focus();
    if (!focus || focus->top_window() != top_window()) Fl::focus(top_window());
  }
  const int used = Fl_Gl_Window::handle(event);
  return event == FL_ENTER ? 1 : used;  // so that moves over the picture arrive here too
}

// The device keeps its own framebuffer bound and its states set between frames: clear the window's
// framebuffer and leave everything else as it was.
void OutputView::draw() {
  GLint deviceFramebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &deviceFramebuffer);
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glPopAttrib();
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(deviceFramebuffer));
}
