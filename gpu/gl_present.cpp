// The OpenGL device's presentation: the back buffer to the window, and read back.
#include "gpu/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gpu/gl_check.h"
#include "gpu/window_host.h"

HRESULT GLDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  horizon_.Read(kBackBufferKey);
  horizon_.EndFrame();
  if (fastForward_) return D3D_OK;
  core_->MakeCurrent();
  const GLCallCheck check("Present");
  WindowHost* host = core_->Host();
  if (host == nullptr) {
    glFinish();
    return D3D_OK;
  }
  staleGroups_ |= kRasterGroup;  // scissor and colour mask
  if (direct_) ClearOutside(frameCover_, backWidth_, backHeight_);
  else BlitToWindow(*host);
  host->SwapBuffers();
  UnbindTarget();
  frameBegun_ = false;
  frameCover_ = {};
  return D3D_OK;
}

void GLDevice::ClearOutside(const D3DRECT& kept, uint32_t windowWidthPx, uint32_t windowHeightPx) {
  const D3DRECT& k = kept;  // {}: then the band below it is the whole window
  const int32_t w = int32_t(windowWidthPx), h = int32_t(windowHeightPx);
  const D3DRECT bands[4] = {{0, 0, w, k.y1}, {0, k.y2, w, h}, {0, k.y1, k.x1, k.y2}, {k.x2, k.y1, w, k.y2}};
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glEnable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  for (const D3DRECT& band : bands) {
    if (band.x2 <= band.x1 || band.y2 <= band.y1) continue;
    glScissor(band.x1, h - band.y2, band.x2 - band.x1, band.y2 - band.y1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_SCISSOR_TEST);
}

void GLDevice::BlitToWindow(WindowHost& host) {
  uint32_t windowWidthPx = 0, windowHeightPx = 0;
  host.SizePx(windowWidthPx, windowHeightPx);
  // Scaled to the window with the aspect kept, centred; row 0 (the top) goes to the window's top.
  const double scale = std::min(double(windowWidthPx) / backWidth_, double(windowHeightPx) / backHeight_);
  const GLint w = GLint(std::lround(backWidth_ * scale)), h = GLint(std::lround(backHeight_ * scale));
  const GLint x = (GLint(windowWidthPx) - w) / 2, y = (GLint(windowHeightPx) - h) / 2;
  const GLint top = GLint(windowHeightPx) - (y + h);
  ClearOutside({x, top, x + w, top + h}, windowWidthPx, windowHeightPx);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glBlitFramebuffer(0, 0, GLint(backWidth_), GLint(backHeight_), x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                    scale == 1.0 ? GL_NEAREST : GL_LINEAR);
}

void GLDevice::BindBackBufferForReading() {
  if (direct_) {  // the window's back buffer, turned into our framebuffer first
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, backFbo_);
    glDisable(GL_SCISSOR_TEST);
    staleGroups_ |= kRasterGroup;
    const GLint w = GLint(backWidth_), h = GLint(backHeight_);
    glBlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

bool GLDevice::ReadBackBuffer(RgbaImage& image) {
  core_->MakeCurrent();
  const GLCallCheck check("ReadBackBuffer");
  image.widthPx = backWidth_;
  image.heightPx = backHeight_;
  image.rgba.assign(size_t(backWidth_) * backHeight_ * 4, 0);
  DiscardGLErrors();
  BindBackBufferForReading();
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
  BindBackBufferForReading();
  glBindBuffer(GL_PIXEL_PACK_BUFFER, packBuffers_[(oldestRead_ + queuedReads_) % 2]);
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
