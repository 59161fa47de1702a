// ID3DXSprite on the OpenGL device: each Draw is one quad drawn straight with GL; the device turns its
// own states back into GL state before its next draw, so End only lets go of the target.
#include <cmath>

#include "gpu/gl_device.h"

namespace {

class GLSprite : public RefCounted<ID3DXSprite> {
 public:
  explicit GLSprite(GLDevice* device) : device_(device) { device_->AddRef(); }
  ~GLSprite() override { device_->Release(); }

  // Between Begin and End only sprite draws happen, so the GL state is set once for all of them.
  HRESULT Begin() override {
    device_->BeginScreenQuads();
    begun_ = true;
    return D3D_OK;
  }
  HRESULT End() override {
    if (begun_) device_->EndScreenQuads();
    begun_ = false;
    return D3D_OK;
  }

  HRESULT Draw(IDirect3DTexture8* texture, const RECT* sourceRect, const D3DXVECTOR2* scaling,
               const D3DXVECTOR2* rotationCenter, float rotation, const D3DXVECTOR2* translation,
               D3DCOLOR color) override {
    auto* glTexture = dynamic_cast<GLTexture*>(texture);
    if (glTexture == nullptr) return D3DERR_INVALIDCALL;
    if (!begun_) device_->BeginScreenQuads();  // a draw outside Begin and End sets up and ends by itself
    const D3DSURFACE_DESC& desc = glTexture->Desc();
    const RECT whole = {0, 0, int32_t(desc.Width), int32_t(desc.Height)};
    const RECT& r = sourceRect != nullptr ? *sourceRect : whole;
    const float width = float(r.right - r.left), height = float(r.bottom - r.top);
    const D3DXVECTOR2 scale = scaling != nullptr ? *scaling : D3DXVECTOR2{1.0f, 1.0f};
    const D3DXVECTOR2 centre = rotationCenter != nullptr ? *rotationCenter : D3DXVECTOR2{0.0f, 0.0f};
    const D3DXVECTOR2 move = translation != nullptr ? *translation : D3DXVECTOR2{0.0f, 0.0f};
    const float c = std::cos(rotation), s = std::sin(rotation);
    const float texturePoints[4][2] = {{0.0f, 0.0f}, {width, 0.0f}, {width, height}, {0.0f, height}};
    float corners[4][2];
    for (int i = 0; i < 4; ++i) {
      const float x = texturePoints[i][0] * scale.x - centre.x, y = texturePoints[i][1] * scale.y - centre.y;
      corners[i][0] = x * c - y * s + centre.x + move.x;
      corners[i][1] = x * s + y * c + centre.y + move.y;
    }
    device_->DrawScreenQuad(glTexture, corners, float(r.left) / float(desc.Width), float(r.top) / float(desc.Height),
                            float(r.right) / float(desc.Width), float(r.bottom) / float(desc.Height), color);
    if (!begun_) device_->EndScreenQuads();
    return D3D_OK;
  }

 private:
  GLDevice* device_;
  bool begun_ = false;
};

}  // namespace

HRESULT GLDevice::CreateSprite(ID3DXSprite** sprite) {
  if (sprite == nullptr) return D3DERR_INVALIDCALL;
  *sprite = new GLSprite(this);
  return D3D_OK;
}
