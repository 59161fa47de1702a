#pragma once
// The OpenGL device's objects: the context owner shared by a device and everything created on it, and
// the texture, surface and vertex-buffer objects. Texture rows are stored top row first, so texture
// coordinate v = 0 is the top of a picture, as in Direct3D.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <vector>

#include "gpu/d3d8.h"
#include "gpu/egl_context.h"
#include "gpu/ref_counted.h"

class WindowHost;

// Owns the GL context (offscreen) or borrows it (window); deletes the GL objects it keeps when the last
// owner lets go.
class GLCore {
 public:
  GLCore(WindowHost* host, std::unique_ptr<EglContext> offscreen) : host_(host), offscreen_(std::move(offscreen)) {}
  ~GLCore();
  void MakeCurrent();
  WindowHost* Host() const { return host_; }

  // Render-target textures are recycled by size and format, so a target created and released every
  // frame costs no GL allocation.
  GLuint TakeRecycledTarget(UINT width, UINT height, GLenum internalFormat);
  void RecycleTarget(GLuint name, UINT width, UINT height, GLenum internalFormat);  // context current

  // Counts texture bindings and deletions made outside a device's drawing (creation, locks, releases),
  // so that a device knows its bound texture and its target's attachment may have changed.
  void NoteTextureChange() { ++textureChanges_; }
  uint64_t TextureChanges() const { return textureChanges_; }

 private:
  struct Recycled {
    GLuint name;
    UINT width, height;
    GLenum internalFormat;
  };
  WindowHost* host_;
  std::unique_ptr<EglContext> offscreen_;
  std::vector<Recycled> recycled_;
  uint64_t textureChanges_ = 0;
};

struct GLTextureFormat {
  GLenum internalFormat, uploadFormat, uploadType;
  UINT bytesPerTexel;
};
// false for a format the renderer cannot hold.
bool GLFormatOf(D3DFORMAT format, bool renderTarget, GLTextureFormat& out);

class GLTexture : public RefCounted<IDirect3DTexture8> {
 public:
  GLTexture(std::shared_ptr<GLCore> core, GLuint name, const D3DSURFACE_DESC& desc, const GLTextureFormat& format)
      : core_(std::move(core)), name_(name), desc_(desc), format_(format) {}
  ~GLTexture() override;
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  GLuint Name() const { return name_; }
  const D3DSURFACE_DESC& Desc() const { return desc_; }

 private:
  std::shared_ptr<GLCore> core_;
  GLuint name_;
  D3DSURFACE_DESC desc_;
  GLTextureFormat format_;
  std::vector<uint8_t> staging_;  // texels between LockRect and UnlockRect
};

// Either the back buffer (texture nullptr) or level 0 of a texture, which it keeps alive.
class GLSurface : public RefCounted<IDirect3DSurface8> {
 public:
  GLSurface(const D3DSURFACE_DESC& desc, GLTexture* texture) : desc_(desc), texture_(texture) {
    if (texture_ != nullptr) texture_->AddRef();
  }
  ~GLSurface() override {
    if (texture_ != nullptr) texture_->Release();
  }
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
    if (desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
  }
  GLTexture* Texture() const { return texture_; }

 private:
  D3DSURFACE_DESC desc_;
  GLTexture* texture_;
};

class GLVertexBuffer : public RefCounted<IDirect3DVertexBuffer8> {
 public:
  explicit GLVertexBuffer(UINT lengthBytes) : bytes_(lengthBytes) {}
  HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
  HRESULT Unlock() override { return D3D_OK; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;  // drawn from memory through client-side vertex arrays
};
