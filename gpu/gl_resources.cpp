// The OpenGL device's resources: vertex buffers, textures and the render target's framebuffer.
#include "gpu/gl_device.h"

#include <algorithm>

#include "gpu/gl_check.h"
#include "gpu/window_host.h"

HRESULT GLDevice::CreateVertexBuffer(UINT lengthBytes, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** buffer) {
  if (buffer == nullptr || lengthBytes == 0) return D3DERR_INVALIDCALL;
  *buffer = new GLVertexBuffer(lengthBytes);
  return D3D_OK;
}

HRESULT GLDevice::CreateTexture(UINT width, UINT height, UINT, DWORD usage, D3DFORMAT format, D3DPOOL,
                                IDirect3DTexture8** texture) {
  if (texture == nullptr || width == 0 || height == 0 || width > caps_.MaxTextureWidth ||
      height > caps_.MaxTextureHeight)
    return D3DERR_INVALIDCALL;
  const bool renderTarget = usage & D3DUSAGE_RENDERTARGET;
  GLTextureFormat glFormat;
  if (!GLFormatOf(format, renderTarget, glFormat)) return D3DERR_INVALIDCALL;
  core_->MakeCurrent();
  const GLCallCheck check("CreateTexture");
  DiscardGLErrors();  // the check below is about this texture alone
  GLuint name = renderTarget ? core_->TakeRecycledTarget(width, height, glFormat.internalFormat) : 0;
  if (name == 0) {
    core_->NoteTextureChange();
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);  // only level 0 is drawn into or sampled
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(glFormat.internalFormat), GLsizei(width), GLsizei(height), 0,
                 glFormat.uploadFormat, glFormat.uploadType, nullptr);
    if (glGetError() != GL_NO_ERROR) {
      glDeleteTextures(1, &name);
      return D3DERR_OUTOFVIDEOMEMORY;
    }
    horizon_.Fresh(name);  // a name of a deleted target may come back
  }
  *texture = new GLTexture(core_, name, {format, usage, D3DPOOL_DEFAULT, width, height}, glFormat);
  return D3D_OK;
}

HRESULT GLDevice::GetRenderTarget(IDirect3DSurface8** surface) {
  if (surface == nullptr) return D3DERR_INVALIDCALL;
  target_->AddRef();
  *surface = target_;
  return D3D_OK;
}

HRESULT GLDevice::SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil) {
  // Depth-stencil surfaces are never handed out, so only "no depth buffer" can be asked for.
  auto* surface = dynamic_cast<GLSurface*>(renderTarget);
  if (surface == nullptr || depthStencil != nullptr) return D3DERR_INVALIDCALL;
  if (surface->Texture() != nullptr && !(surface->Texture()->Desc().Usage & D3DUSAGE_RENDERTARGET))
    return D3DERR_INVALIDCALL;
  surface->AddRef();
  target_->Release();
  target_ = surface;
  depthAttached_ = false;
  horizon_.Fresh(kDepthKey);  // never attached again
  D3DSURFACE_DESC desc;
  target_->GetDesc(&desc);
  viewport_ = {0, 0, desc.Width, desc.Height, 0.0f, 1.0f};  // bound by the next clear or draw
  staleGroups_ |= kTransformGroup | kRasterGroup;           // the viewport and the depth test
  return D3D_OK;
}

void GLDevice::BeginFrame() {
  frameBegun_ = true;
  WindowHost* host = core_->Host();
  if (host == nullptr) return;
  uint32_t windowWidth = 0, windowHeight = 0;
  host->SizePx(windowWidth, windowHeight);
  if (direct_ == WindowFits(windowWidth, windowHeight)) return;
  direct_ = !direct_;
  staleGroups_ |= kTransformGroup | kRasterGroup;  // the viewport, the projection's Y, the scissor and the cull
}

void GLDevice::BindTarget() {
  if (!frameBegun_) BeginFrame();
  WindowHost* host = core_->Host();
  if (host != nullptr && host->PaintCount() != seenPaints_) {  // the toolkit drew with the context since
    seenPaints_ = host->PaintCount();
    staleGroups_ = kAllGroups;
  }
  // A texture bound, created or deleted elsewhere: the bound texture is another, and a deleted name
  // may have come back as a new texture.
  if (seenTextureChanges_ != core_->TextureChanges()) {
    seenTextureChanges_ = core_->TextureChanges();
    attachmentKnown_ = false;
    staleGroups_ |= kTextureStageGroup;
  }
  if (WindowIsTarget()) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // Every clear and draw stays within the viewport.
    const D3DRECT viewport = ViewportRect();
    const bool none = frameCover_.x2 == 0;  // in this frame
    frameCover_ = none ? viewport
                       : D3DRECT{std::min(frameCover_.x1, viewport.x1), std::min(frameCover_.y1, viewport.y1),
                                 std::max(frameCover_.x2, viewport.x2), std::max(frameCover_.y2, viewport.y2)};
    return;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, targetFbo_);
  // Attached again only when the target or its depth buffer changed.
  const GLuint colour = target_->Texture() != nullptr ? target_->Texture()->Name() : 0;
  if (attachmentKnown_ && colour == attachedColour_ && depthAttached_ == attachedDepth_) return;
  attachmentKnown_ = true;
  attachedColour_ = colour;
  attachedDepth_ = depthAttached_;
  if (target_->Texture() != nullptr) {
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target_->Texture()->Name(), 0);
  } else {
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
  }
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthAttached_ ? depthBuffer_ : 0);
}

void GLDevice::UnbindTarget() { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

GLint GLDevice::GLRowOf(uint32_t topPx, uint32_t heightPx) const {
  return WindowIsTarget() ? GLint(backHeight_) - GLint(topPx + heightPx) : GLint(topPx);
}

D3DRECT GLDevice::ViewportRect() const {
  return {int32_t(viewport_.X), int32_t(viewport_.Y), int32_t(viewport_.X + viewport_.Width),
          int32_t(viewport_.Y + viewport_.Height)};
}

void GLDevice::ScissorToViewport() {
  glEnable(GL_SCISSOR_TEST);
  glScissor(GLint(viewport_.X), GLRowOf(viewport_.Y, viewport_.Height), GLsizei(viewport_.Width),
            GLsizei(viewport_.Height));
}
