#include "call_capture.h"

#include <cstring>
#include <string>

#include "gpu/device_extras.h"
#include "gpu/ref_counted.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs call on the real object, adding its time to the capture's device time.
template <class Call>
auto Timed(CallCapture& capture, Call call) {
  const auto start = Clock::now();
  auto result = call();
  capture.deviceTime += Clock::now() - start;
  return result;
}

void Record(CallCapture& capture, ReplayStep step) {
  if (capture.recordInto != nullptr) capture.recordInto->push_back(std::move(step));
}

// Keeps object alive for the recorded steps that refer to it.
void Keep(CallCapture& capture, IUnknown* object) {
  if (capture.recordInto == nullptr || object == nullptr) return;
  object->AddRef();
  capture.keptForReplay.push_back(object);
}

class CaptureBuffer : public RefCounted<IDirect3DVertexBuffer8> {
 public:
  CaptureBuffer(std::shared_ptr<CallCapture> capture, IDirect3DVertexBuffer8* real, size_t id, UINT lengthBytes)
      : capture_(std::move(capture)), real_(real), id_(id), lengthBytes_(lengthBytes) {}
  ~CaptureBuffer() override {
    CallCapture& c = *capture_;
    Record(c, [&c, id = id_] {
      if (c.replayBuffers[id] != nullptr) c.replayBuffers[id]->Release();
      c.replayBuffers[id] = nullptr;
    });
    real_->Release();
  }
  HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
    const HRESULT result = Timed(*capture_, [&] { return real_->Lock(offset, size, data, flags); });
    if (SUCCEEDED(result)) locked_ = {*data, offset, size == 0 ? lengthBytes_ - offset : size};
    return result;
  }
  HRESULT Unlock() override {
    CallCapture& c = *capture_;
    auto bytes = std::make_shared<std::vector<BYTE>>(locked_.data, locked_.data + locked_.size);
    Record(c, [&c, id = id_, offset = locked_.offset, bytes] {
      BYTE* data = nullptr;
      IDirect3DVertexBuffer8* buffer = c.replayBuffers[id];
      if (buffer == nullptr || FAILED(buffer->Lock(offset, UINT(bytes->size()), &data, 0))) return;
      std::memcpy(data, bytes->data(), bytes->size());
      buffer->Unlock();
    });
    return Timed(c, [&] { return real_->Unlock(); });
  }
  IDirect3DVertexBuffer8* Real() const { return real_; }
  size_t Id() const { return id_; }

 private:
  struct Locked {
    BYTE* data = nullptr;
    UINT offset = 0, size = 0;
  };
  std::shared_ptr<CallCapture> capture_;
  IDirect3DVertexBuffer8* real_;
  size_t id_;
  UINT lengthBytes_;
  Locked locked_;
};

class CaptureSprite : public RefCounted<ID3DXSprite> {
 public:
  CaptureSprite(std::shared_ptr<CallCapture> capture, ID3DXSprite* real) : capture_(std::move(capture)), real_(real) {}
  ~CaptureSprite() override { real_->Release(); }
  HRESULT Begin() override {
    Record(*capture_, [s = real_] { s->Begin(); });
    return Timed(*capture_, [&] { return real_->Begin(); });
  }
  HRESULT Draw(IDirect3DTexture8* texture, const RECT*, const D3DXVECTOR2* scaling, const D3DXVECTOR2* centre,
               float rotation, const D3DXVECTOR2* translation, D3DCOLOR colour) override {
    const D3DXVECTOR2 sc = *scaling, ce = *centre, tr = *translation;
    Record(*capture_, [s = real_, texture, sc, ce, rotation, tr, colour] {
      s->Draw(texture, nullptr, &sc, &ce, rotation, &tr, colour);
    });
    return Timed(*capture_, [&] { return real_->Draw(texture, nullptr, &sc, &ce, rotation, &tr, colour); });
  }
  HRESULT End() override {
    Record(*capture_, [s = real_] { s->End(); });
    return Timed(*capture_, [&] { return real_->End(); });
  }

 private:
  std::shared_ptr<CallCapture> capture_;
  ID3DXSprite* real_;
};

class CaptureDevice : public RefCounted<IDirect3DDevice8>, public DeviceExtras {
 public:
  CaptureDevice(std::shared_ptr<CallCapture> capture, IDirect3DDevice8* real) : c_(std::move(capture)), real_(real) {}
  ~CaptureDevice() override { real_->Release(); }

  HRESULT GetDeviceCaps(D3DCAPS8* caps) override { return real_->GetDeviceCaps(caps); }
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer8** buffer) override {
    IDirect3DVertexBuffer8* real = nullptr;
    const HRESULT result = Timed(*c_, [&] { return real_->CreateVertexBuffer(length, usage, fvf, pool, &real); });
    if (FAILED(result)) return result;
    const size_t id = c_->replayBuffers.size();
    c_->replayBuffers.push_back(nullptr);
    CallCapture& c = *c_;
    Record(c, [&c, d = real_, id, length, usage, fvf, pool] {
      if (c.replayBuffers[id] != nullptr) c.replayBuffers[id]->Release();
      d->CreateVertexBuffer(length, usage, fvf, pool, &c.replayBuffers[id]);
    });
    *buffer = new CaptureBuffer(c_, real, id, length);
    return result;
  }
  HRESULT CreateTexture(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture) override {
    return Timed(*c_, [&] { return real_->CreateTexture(w, h, levels, usage, format, pool, texture); });
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    Record(*c_, [d = real_, state, value] { d->SetRenderState(state, value); });
    return Timed(*c_, [&] { return real_->SetRenderState(state, value); });
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    Record(*c_, [d = real_, stage, type, value] { d->SetTextureStageState(stage, type, value); });
    return Timed(*c_, [&] { return real_->SetTextureStageState(stage, type, value); });
  }
  HRESULT SetViewport(const D3DVIEWPORT8* viewport) override {
    Record(*c_, [d = real_, v = *viewport] { d->SetViewport(&v); });
    return Timed(*c_, [&] { return real_->SetViewport(viewport); });
  }
  HRESULT GetViewport(D3DVIEWPORT8* viewport) override { return real_->GetViewport(viewport); }
  HRESULT SetMaterial(const D3DMATERIAL8* material) override {
    Record(*c_, [d = real_, m = *material] { d->SetMaterial(&m); });
    return Timed(*c_, [&] { return real_->SetMaterial(material); });
  }
  HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override {
    Record(*c_, [d = real_, index, l = *light] { d->SetLight(index, &l); });
    return Timed(*c_, [&] { return real_->SetLight(index, light); });
  }
  HRESULT LightEnable(DWORD index, BOOL enable) override {
    Record(*c_, [d = real_, index, enable] { d->LightEnable(index, enable); });
    return Timed(*c_, [&] { return real_->LightEnable(index, enable); });
  }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
    Record(*c_, [d = real_, state, m = *matrix] { d->SetTransform(state, &m); });
    return Timed(*c_, [&] { return real_->SetTransform(state, matrix); });
  }
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override {
    auto* captured = static_cast<CaptureBuffer*>(buffer);
    CallCapture& c = *c_;
    Record(c, [&c, d = real_, stream, stride, id = captured != nullptr ? captured->Id() : SIZE_MAX] {
      d->SetStreamSource(stream, id == SIZE_MAX ? nullptr : c.replayBuffers[id], stride);
    });
    return Timed(
        c, [&] { return real_->SetStreamSource(stream, captured != nullptr ? captured->Real() : nullptr, stride); });
  }
  HRESULT SetVertexShader(DWORD fvf) override {
    Record(*c_, [d = real_, fvf] { d->SetVertexShader(fvf); });
    return Timed(*c_, [&] { return real_->SetVertexShader(fvf); });
  }
  HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override {
    Keep(*c_, texture);
    Record(*c_, [d = real_, stage, texture] { d->SetTexture(stage, texture); });
    return Timed(*c_, [&] { return real_->SetTexture(stage, texture); });
  }
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override {
    Record(*c_, [d = real_, flags, colour, z, stencil] { d->Clear(0, nullptr, flags, colour, z, stencil); });
    return Timed(*c_, [&] { return real_->Clear(count, rects, flags, colour, z, stencil); });
  }
  HRESULT BeginScene() override {
    Record(*c_, [d = real_] { d->BeginScene(); });
    return Timed(*c_, [&] { return real_->BeginScene(); });
  }
  HRESULT EndScene() override {
    Record(*c_, [d = real_] { d->EndScene(); });
    return Timed(*c_, [&] { return real_->EndScene(); });
  }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
    Record(*c_, [d = real_, type, start, count] { d->DrawPrimitive(type, start, count); });
    return Timed(*c_, [&] { return real_->DrawPrimitive(type, start, count); });
  }
  HRESULT GetRenderTarget(IDirect3DSurface8** surface) override { return real_->GetRenderTarget(surface); }
  HRESULT SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) override {
    Keep(*c_, target);
    Record(*c_, [d = real_, target, depth] { d->SetRenderTarget(target, depth); });
    return Timed(*c_, [&] { return real_->SetRenderTarget(target, depth); });
  }
  HRESULT Present(const RECT* source, const RECT* dest, HWND window, const void* dirty) override {
    Record(*c_, [d = real_] { d->Present(nullptr, nullptr, nullptr, nullptr); });
    return Timed(*c_, [&] { return real_->Present(source, dest, window, dirty); });
  }
  HRESULT CreateSprite(ID3DXSprite** sprite) override {
    ID3DXSprite* real = nullptr;
    const HRESULT result = ExtrasOf(real_)->CreateSprite(&real);
    if (SUCCEEDED(result)) *sprite = new CaptureSprite(c_, real);
    return result;
  }
  bool ReadBackBuffer(RgbaImage& image) override { return ExtrasOf(real_)->ReadBackBuffer(image); }
  bool QueueReadBack() override { return ExtrasOf(real_)->QueueReadBack(); }
  bool TakeReadBack(RgbaImage& image) override { return ExtrasOf(real_)->TakeReadBack(image); }
  void SetFastForward(bool on) override { ExtrasOf(real_)->SetFastForward(on); }
  uint64_t LatestRealStart() const override { return ExtrasOf(real_)->LatestRealStart(); }

 private:
  std::shared_ptr<CallCapture> c_;
  IDirect3DDevice8* real_;
};

class CaptureDirect3D : public RefCounted<IDirect3D8> {
 public:
  CaptureDirect3D(IDirect3D8* real, std::shared_ptr<CallCapture> capture) : real_(real), c_(std::move(capture)) {}
  ~CaptureDirect3D() override { real_->Release(); }
  UINT GetAdapterCount() override { return real_->GetAdapterCount(); }
  HRESULT GetAdapterIdentifier(UINT a, DWORD f, D3DADAPTER_IDENTIFIER8* i) override {
    return real_->GetAdapterIdentifier(a, f, i);
  }
  UINT GetAdapterModeCount(UINT a) override { return real_->GetAdapterModeCount(a); }
  HRESULT EnumAdapterModes(UINT a, UINT m, D3DDISPLAYMODE* d) override { return real_->EnumAdapterModes(a, m, d); }
  HRESULT GetAdapterDisplayMode(UINT a, D3DDISPLAYMODE* d) override { return real_->GetAdapterDisplayMode(a, d); }
  HRESULT CreateDevice(UINT a, D3DDEVTYPE t, HWND w, DWORD b, D3DPRESENT_PARAMETERS* p,
                       IDirect3DDevice8** device) override {
    IDirect3DDevice8* real = nullptr;
    const HRESULT result = real_->CreateDevice(a, t, w, b, p, &real);
    if (SUCCEEDED(result)) *device = new CaptureDevice(c_, real);
    return result;
  }

 private:
  IDirect3D8* real_;
  std::shared_ptr<CallCapture> c_;
};

}  // namespace

IDirect3D8* CreateCaptureDirect3D8(IDirect3D8* real, std::shared_ptr<CallCapture> capture) {
  return new CaptureDirect3D(real, std::move(capture));
}

void ReleaseReplayObjects(CallCapture& capture) {
  for (IDirect3DVertexBuffer8*& buffer : capture.replayBuffers) ReleaseReference(buffer);
  for (IUnknown*& object : capture.keptForReplay) ReleaseReference(object);
  capture.keptForReplay.clear();
}
