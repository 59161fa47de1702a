// The OpenGL device's presentation: the back buffer to the window, and read back.
#include "gpu/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gpu/gl_check.h"
#include "gpu/window_host.h"

HRESULT GLDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  core_->MakeCurrent();
  const GLCallCheck check("Present");
  WindowHost* host = core_->Host();
  if (host == nullptr) {
    glFinish();
    return D3D_OK;
  }
  uint32_t windowWidth = 0, windowHeight = 0;
  host->SizePx(windowWidth, windowHeight);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  staleGroups_ |= kRasterGroup;  // scissor and colour mask
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  // Scaled to the window with the aspect kept; row 0 (the top) goes to the window's top.
  const double scale = std::min(double(windowWidth) / backWidth_, double(windowHeight) / backHeight_);
  const GLint w = GLint(std::lround(backWidth_ * scale)), h = GLint(std::lround(backHeight_ * scale));
  const GLint x = (GLint(windowWidth) - w) / 2, y = (GLint(windowHeight) - h) / 2;
  glBlitFramebuffer(0, 0, GLint(backWidth_), GLint(backHeight_), x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                    scale == 1.0 ? GL_NEAREST : GL_LINEAR);
  host->SwapBuffers();
  UnbindTarget();
  return D3D_OK;
}

bool GLDevice::ReadBackBuffer(RgbaImage& image) {
  core_->MakeCurrent();
  const GLCallCheck check("ReadBackBuffer");
  image.widthPx = backWidth_;
  image.heightPx = backHeight_;
  image.rgba.assign(size_t(backWidth_) * backHeight_ * 4, 0);
  DiscardGLErrors();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, GLsizei(backWidth_), GLsizei(backHeight_), GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
  UnbindTarget();
  return glGetError() == GL_NO_ERROR;
}

bool GLDevice::QueueReadBack() {
  if (queuedReads_ == 2) return false;
  core_->MakeCurrent();
  const GLCallCheck check("QueueReadBack");
  const size_t bytes = size_t(backWidth_) * backHeight_ * 4;
  if (packBuffers_[0] == 0) {
    glGenBuffers(2, packBuffers_);
    for (GLuint buffer : packBuffers_) {
      glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
      glBufferData(GL_PIXEL_PACK_BUFFER, GLsizeiptr(bytes), nullptr, GL_STREAM_READ);
    }
  }
  DiscardGLErrors();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, packBuffers_[(oldestRead_ + queuedReads_) % 2]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, GLsizei(backWidth_), GLsizei(backHeight_), GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  UnbindTarget();
  if (glGetError() != GL_NO_ERROR) return false;
  ++queuedReads_;
  return true;
}

bool GLDevice::TakeReadBack(RgbaImage& image) {
  if (queuedReads_ == 0) return false;
  core_->MakeCurrent();
  const GLCallCheck check("TakeReadBack");
  image.widthPx = backWidth_;
  image.heightPx = backHeight_;
  image.rgba.resize(size_t(backWidth_) * backHeight_ * 4);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, packBuffers_[oldestRead_]);
  const void* pixels = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
  if (pixels != nullptr) std::memcpy(image.rgba.data(), pixels, image.rgba.size());
  const bool unmapped = pixels != nullptr && glUnmapBuffer(GL_PIXEL_PACK_BUFFER) == GL_TRUE;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  oldestRead_ = (oldestRead_ + 1) % 2;
  --queuedReads_;
  return unmapped;
}
