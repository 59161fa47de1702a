#include "gpu/gl_objects.h"

#include "gpu/gl_check.h"
#include "gpu/window_host.h"

namespace {
constexpr size_t kMaxRecycledTargets = 4;
}

GLCore::~GLCore() {
  MakeCurrent();
  const GLCallCheck check("Release(context)");
  for (const Recycled& target : recycled_) glDeleteTextures(1, &target.name);
}

void GLCore::MakeCurrent() {
  if (offscreen_) offscreen_->MakeCurrent();
  else host_->MakeCurrent();
}

GLuint GLCore::TakeRecycledTarget(UINT width, UINT height, GLenum internalFormat) {
  for (size_t i = 0; i < recycled_.size(); ++i) {
    if (recycled_[i].width == width && recycled_[i].height == height && recycled_[i].internalFormat == internalFormat) {
      const GLuint name = recycled_[i].name;
      recycled_.erase(recycled_.begin() + long(i));
      return name;
    }
  }
  return 0;
}

void GLCore::RecycleTarget(GLuint name, UINT width, UINT height, GLenum internalFormat) {
  if (recycled_.size() == kMaxRecycledTargets) {
    NoteTextureChange();
    glDeleteTextures(1, &recycled_.front().name);
    recycled_.erase(recycled_.begin());
  }
  recycled_.push_back({name, width, height, internalFormat});
}

bool GLFormatOf(D3DFORMAT format, bool renderTarget, GLTextureFormat& out) {
  if (renderTarget) {
    // Every target renders with 8 bits per channel, also for 16-bit back-buffer formats (looks closest).
    if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_R5G6B5 && format != D3DFMT_A8R8G8B8) return false;
    out = {format == D3DFMT_A8R8G8B8 ? GLenum(GL_RGBA8) : GLenum(GL_RGB8), GL_BGRA, GL_UNSIGNED_BYTE, 4};
    return true;
  }
  switch (format) {
    case D3DFMT_A1R5G5B5: out = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2}; return true;
    case D3DFMT_X1R5G5B5: out = {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2}; return true;
    case D3DFMT_R5G6B5: out = {GL_RGB5, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2}; return true;
    case D3DFMT_X8R8G8B8: out = {GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE, 4}; return true;
    case D3DFMT_A8R8G8B8: out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4}; return true;
    default: return false;
  }
}

GLTexture::~GLTexture() {
  core_->MakeCurrent();
  const GLCallCheck check("Release(texture)");
  if (desc_.Usage & D3DUSAGE_RENDERTARGET)
    core_->RecycleTarget(name_, desc_.Width, desc_.Height, format_.internalFormat);
  else glDeleteTextures(1, &name_);
  core_->NoteTextureChange();
}

HRESULT GLTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (level != 0 || desc == nullptr) return D3DERR_INVALIDCALL;
  *desc = desc_;
  return D3D_OK;
}

HRESULT GLTexture::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) {
  if (level != 0 || surface == nullptr) return D3DERR_INVALIDCALL;
  *surface = new GLSurface(desc_, this);
  return D3D_OK;
}

HRESULT GLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
  if (level != 0 || locked == nullptr || rect != nullptr || (desc_.Usage & D3DUSAGE_RENDERTARGET))
    return D3DERR_INVALIDCALL;
  staging_.assign(size_t(desc_.Width) * desc_.Height * format_.bytesPerTexel, 0);
  locked->Pitch = int32_t(desc_.Width * format_.bytesPerTexel);
  locked->pBits = staging_.data();
  return D3D_OK;
}

HRESULT GLTexture::UnlockRect(UINT level) {
  if (level != 0 || staging_.empty()) return D3DERR_INVALIDCALL;
  core_->MakeCurrent();
  const GLCallCheck check("UnlockRect");
  core_->NoteTextureChange();
  glBindTexture(GL_TEXTURE_2D, name_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(desc_.Width), GLsizei(desc_.Height), format_.uploadFormat,
                  format_.uploadType, staging_.data());
  staging_.clear();
  staging_.shrink_to_fit();
  return D3D_OK;
}

HRESULT GLVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
  if (data == nullptr || offset > bytes_.size() || size > bytes_.size() - offset) return D3DERR_INVALIDCALL;
  *data = bytes_.data() + offset;
  return D3D_OK;
}
