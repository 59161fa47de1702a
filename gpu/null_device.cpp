// The null device (see null_device.h).
#include "gpu/null_device.h"

#include <cstdio>
#include <cstring>

#include "gpu/classic_modes.h"
#include "gpu/device_extras.h"
#include "gpu/ref_counted.h"

namespace {

std::string Num(uint64_t value) { return std::to_string(value); }

std::string Real(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", double(value));
  return text;
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Join(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// Names objects and writes calls; shared by a device and everything it created.
struct Recorder {
  std::shared_ptr<NullDeviceLog> recording;
  std::map<std::string, int> created;  // per name prefix

  void Call(const std::string& operation, const std::string& arguments, const std::string& result = "") {
    recording->calls.push_back(operation + "(" + arguments + ")" + (result.empty() ? "" : " -> " + result));
  }
  std::string NewName(const std::string& prefix) { return prefix + Num(++created[prefix]); }
};

class NullSurface : public RefCounted<IDirect3DSurface8> {
 public:
  NullSurface(std::shared_ptr<Recorder> recorder, std::string name, D3DSURFACE_DESC desc, IUnknown* container)
      : recorder_(std::move(recorder)), name_(std::move(name)), desc_(desc), container_(container) {
    if (container_ != nullptr) container_->AddRef();
  }
  ~NullSurface() override {
    recorder_->Call("Release", name_);
    if (container_ != nullptr) container_->Release();
  }
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
    *desc = desc_;
    return D3D_OK;
  }
  const std::string& Name() const { return name_; }

 private:
  std::shared_ptr<Recorder> recorder_;
  std::string name_;
  D3DSURFACE_DESC desc_;
  IUnknown* container_;
};

class NullTexture : public RefCounted<IDirect3DTexture8> {
 public:
  NullTexture(std::shared_ptr<Recorder> recorder, std::string name, D3DSURFACE_DESC desc)
      : recorder_(std::move(recorder)),
        name_(std::move(name)),
        desc_(desc),
        bytes_(size_t(desc.Width) * desc.Height * BytesPerTexel()) {}
  ~NullTexture() override { recorder_->Call("Release", name_); }

  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override {
    if (level != 0 || desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
  }
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) override {
    recorder_->Call("GetSurfaceLevel", Join({name_, Num(level)}));
    if (level != 0 || surface == nullptr || recorder_->recording->CallFails("GetSurfaceLevel"))
      return D3DERR_INVALIDCALL;
    *surface = new NullSurface(recorder_, name_ + ".level0", desc_, this);
    return D3D_OK;
  }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT*, DWORD flags) override {
    recorder_->Call("LockRect", Join({name_, Num(level), Num(flags)}));
    if (level != 0 || locked == nullptr || recorder_->recording->CallFails("LockRect")) return D3DERR_INVALIDCALL;
    locked->Pitch = int32_t(desc_.Width * BytesPerTexel());
    locked->pBits = bytes_.data();
    return D3D_OK;
  }
  HRESULT UnlockRect(UINT level) override {
    recorder_->Call("UnlockRect", Join({name_, Num(level)}));
    return D3D_OK;
  }
  const std::string& Name() const { return name_; }

 private:
  UINT BytesPerTexel() const { return desc_.Format == D3DFMT_A1R5G5B5 || desc_.Format == D3DFMT_R5G6B5 ? 2 : 4; }

  std::shared_ptr<Recorder> recorder_;
  std::string name_;
  D3DSURFACE_DESC desc_;
  std::vector<uint8_t> bytes_;
};

class NullVertexBuffer : public RefCounted<IDirect3DVertexBuffer8> {
 public:
  NullVertexBuffer(std::shared_ptr<Recorder> recorder, std::string name, UINT lengthBytes)
      : recorder_(std::move(recorder)), name_(std::move(name)), bytes_(lengthBytes) {}
  ~NullVertexBuffer() override { recorder_->Call("Release", name_); }

  HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
    recorder_->Call("Lock", Join({name_, Num(offset), Num(size), Num(flags)}));
    if (data == nullptr || offset > bytes_.size() || size > bytes_.size() - offset ||
        recorder_->recording->CallFails("Lock"))
      return D3DERR_INVALIDCALL;
    *data = bytes_.data() + offset;
    return D3D_OK;
  }
  HRESULT Unlock() override {
    recorder_->Call("Unlock", name_);
    return D3D_OK;
  }
  const std::string& Name() const { return name_; }

 private:
  std::shared_ptr<Recorder> recorder_;
  std::string name_;
  std::vector<uint8_t> bytes_;
};

std::string NameOf(IDirect3DTexture8* texture) {
  return texture == nullptr ? "null" : static_cast<NullTexture*>(texture)->Name();
}
std::string NameOf(IDirect3DSurface8* surface) {
  return surface == nullptr ? "null" : static_cast<NullSurface*>(surface)->Name();
}
std::string NameOf(IDirect3DVertexBuffer8* buffer) {
  return buffer == nullptr ? "null" : static_cast<NullVertexBuffer*>(buffer)->Name();
}
std::string Vector(const D3DXVECTOR2* vector) {
  return vector == nullptr ? "null" : "(" + Real(vector->x) + ", " + Real(vector->y) + ")";
}
std::string Colour(const D3DCOLORVALUE& c) {
  return "(" + Real(c.r) + ", " + Real(c.g) + ", " + Real(c.b) + ", " + Real(c.a) + ")";
}
std::string Vector(const D3DVECTOR& v) { return "(" + Real(v.x) + ", " + Real(v.y) + ", " + Real(v.z) + ")"; }

class NullSprite : public RefCounted<ID3DXSprite> {
 public:
  NullSprite(std::shared_ptr<Recorder> recorder, std::string name)
      : recorder_(std::move(recorder)), name_(std::move(name)) {}
  ~NullSprite() override { recorder_->Call("Release", name_); }

  HRESULT Begin() override {
    recorder_->Call(name_ + ".Begin", "");
    return D3D_OK;
  }
  HRESULT Draw(IDirect3DTexture8* texture, const RECT* sourceRect, const D3DXVECTOR2* scaling,
               const D3DXVECTOR2* rotationCenter, float rotation, const D3DXVECTOR2* translation,
               D3DCOLOR color) override {
    recorder_->Call(name_ + ".Draw", Join({NameOf(texture), sourceRect == nullptr ? "null" : "rect", Vector(scaling),
                                           Vector(rotationCenter), Real(rotation), Vector(translation), Hex(color)}));
    return recorder_->recording->CallFails("Sprite.Draw") || texture == nullptr ? D3DERR_INVALIDCALL : D3D_OK;
  }
  HRESULT End() override {
    recorder_->Call(name_ + ".End", "");
    return D3D_OK;
  }

 private:
  std::shared_ptr<Recorder> recorder_;
  std::string name_;
};

class NullDevice : public RefCounted<IDirect3DDevice8>, public DeviceExtras {
 public:
  NullDevice(std::shared_ptr<Recorder> recorder, const D3DPRESENT_PARAMETERS& parameters)
      : recorder_(std::move(recorder)),
        backBuffer_(new NullSurface(recorder_, "backbuffer",
                                    {parameters.BackBufferFormat, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                                     parameters.BackBufferWidth, parameters.BackBufferHeight},
                                    nullptr)),
        viewport_{0, 0, parameters.BackBufferWidth, parameters.BackBufferHeight, 0.0f, 1.0f} {
    renderTarget_ = backBuffer_;
    renderTarget_->AddRef();
  }
  ~NullDevice() override {
    renderTarget_->Release();
    backBuffer_->Release();
    recorder_->Call("Release", "device");
  }

  HRESULT GetDeviceCaps(D3DCAPS8* caps) override {
    recorder_->Call("GetDeviceCaps", "");
    if (caps == nullptr || recorder_->recording->options.failGetDeviceCaps) return D3DERR_INVALIDCALL;
    *caps = recorder_->recording->options.caps;
    return D3D_OK;
  }
  HRESULT CreateVertexBuffer(UINT lengthBytes, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer8** buffer) override {
    const std::string arguments = Join({Num(lengthBytes), Num(usage), Hex(fvf), Num(pool)});
    if (buffer == nullptr || recorder_->recording->CallFails("CreateVertexBuffer")) {
      recorder_->Call("CreateVertexBuffer", arguments, "failed");
      return D3DERR_OUTOFVIDEOMEMORY;
    }
    auto* created = new NullVertexBuffer(recorder_, recorder_->NewName("vb"), lengthBytes);
    recorder_->Call("CreateVertexBuffer", arguments, created->Name());
    *buffer = created;
    return D3D_OK;
  }
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture) override {
    const std::string arguments = Join({Num(width), Num(height), Num(levels), Num(usage), Num(format), Num(pool)});
    if (texture == nullptr || width == 0 || height == 0 || recorder_->recording->CallFails("CreateTexture")) {
      recorder_->Call("CreateTexture", arguments, "failed");
      return D3DERR_OUTOFVIDEOMEMORY;
    }
    auto* created = new NullTexture(recorder_, recorder_->NewName("tex"), {format, usage, pool, width, height});
    recorder_->Call("CreateTexture", arguments, created->Name());
    *texture = created;
    return D3D_OK;
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    recorder_->Call("SetRenderState", Join({Num(state), Num(value)}));
    return D3D_OK;
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    recorder_->Call("SetTextureStageState", Join({Num(stage), Num(type), Num(value)}));
    return D3D_OK;
  }
  HRESULT SetViewport(const D3DVIEWPORT8* v) override {
    recorder_->Call("SetViewport",
                    Join({Num(v->X), Num(v->Y), Num(v->Width), Num(v->Height), Real(v->MinZ), Real(v->MaxZ)}));
    viewport_ = *v;
    return D3D_OK;
  }
  HRESULT GetViewport(D3DVIEWPORT8* viewport) override {
    *viewport = viewport_;
    return D3D_OK;
  }
  HRESULT SetMaterial(const D3DMATERIAL8* m) override {
    recorder_->Call("SetMaterial", Join({Colour(m->Diffuse), Colour(m->Ambient), Colour(m->Specular),
                                         Colour(m->Emissive), Real(m->Power)}));
    return D3D_OK;
  }
  HRESULT SetLight(DWORD index, const D3DLIGHT8* l) override {
    recorder_->Call("SetLight", Join({Num(index), Num(l->Type), Colour(l->Diffuse), Colour(l->Specular),
                                      Colour(l->Ambient), Vector(l->Position), Vector(l->Direction),
                                      Real(l->Attenuation0), Real(l->Attenuation1), Real(l->Attenuation2)}));
    return D3D_OK;
  }
  HRESULT LightEnable(DWORD index, BOOL enable) override {
    recorder_->Call("LightEnable", Join({Num(index), Num(DWORD(enable))}));
    return D3D_OK;
  }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
    std::string values;
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column) values += (values.empty() ? "" : " ") + Real(matrix->m[row][column]);
    recorder_->Call("SetTransform", Join({Num(state), "[" + values + "]"}));
    return D3D_OK;
  }
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT strideBytes) override {
    recorder_->Call("SetStreamSource", Join({Num(stream), NameOf(buffer), Num(strideBytes)}));
    return D3D_OK;
  }
  HRESULT SetVertexShader(DWORD fvf) override {
    recorder_->Call("SetVertexShader", Hex(fvf));
    return D3D_OK;
  }
  HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override {
    recorder_->Call("SetTexture", Join({Num(stage), NameOf(texture)}));
    return recorder_->recording->CallFails("SetTexture") ? D3DERR_INVALIDCALL : D3D_OK;
  }
  HRESULT Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override {
    recorder_->Call("Clear", Join({Num(count), Num(flags), Hex(color), Real(z), Num(stencil)}));
    return D3D_OK;
  }
  HRESULT BeginScene() override {
    recorder_->Call("BeginScene", "");
    return D3D_OK;
  }
  HRESULT EndScene() override {
    recorder_->Call("EndScene", "");
    return D3D_OK;
  }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override {
    recorder_->Call("DrawPrimitive", Join({Num(type), Num(startVertex), Num(primitiveCount)}));
    return D3D_OK;
  }
  HRESULT GetRenderTarget(IDirect3DSurface8** surface) override {
    recorder_->Call("GetRenderTarget", "", NameOf(renderTarget_));
    *surface = renderTarget_;
    renderTarget_->AddRef();
    return D3D_OK;
  }
  HRESULT SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil) override {
    recorder_->Call("SetRenderTarget", Join({NameOf(renderTarget), NameOf(depthStencil)}));
    if (renderTarget == nullptr) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    renderTarget->GetDesc(&desc);
    viewport_ = {0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
    renderTarget->AddRef();
    renderTarget_->Release();
    renderTarget_ = renderTarget;
    return D3D_OK;
  }
  HRESULT Present(const RECT*, const RECT*, HWND, const void*) override {
    recorder_->Call("Present", "");
    return D3D_OK;
  }
  HRESULT CreateSprite(ID3DXSprite** sprite) override {
    if (recorder_->recording->CallFails("D3DXCreateSprite")) {
      recorder_->Call("D3DXCreateSprite", "", "failed");
      return D3DERR_INVALIDCALL;
    }
    const std::string name = recorder_->NewName("sprite");
    recorder_->Call("D3DXCreateSprite", "", name);
    *sprite = new NullSprite(recorder_, name);
    return D3D_OK;
  }
  bool ReadBackBuffer(RgbaImage&) override { return false; }
  bool QueueReadBack() override { return false; }
  bool TakeReadBack(RgbaImage&) override { return false; }
  void SetFastForward(bool) override {}
  uint64_t LatestRealStart() const override { return 0; }

 private:
  std::shared_ptr<Recorder> recorder_;
  IDirect3DSurface8* backBuffer_;
  IDirect3DSurface8* renderTarget_;  // holds one reference
  D3DVIEWPORT8 viewport_;
};

class NullDirect3D : public RefCounted<IDirect3D8> {
 public:
  explicit NullDirect3D(std::shared_ptr<NullDeviceLog> recording)
      : recorder_(std::make_shared<Recorder>(Recorder{std::move(recording), {}})) {}
  ~NullDirect3D() override { recorder_->Call("Release", "d3d"); }

  UINT GetAdapterCount() override { return UINT(Options().desktopModes.size()); }
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* identifier) override {
    if (adapter >= GetAdapterCount()) return D3DERR_INVALIDCALL;
    *identifier = {};
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "recording");
    std::snprintf(identifier->Description, sizeof identifier->Description, "Null adapter %u", adapter);
    return D3D_OK;
  }
  UINT GetAdapterModeCount(UINT adapter) override {
    return adapter < GetAdapterCount() ? UINT(ClassicDisplayModes().size()) : 0;
  }
  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* displayMode) override {
    if (adapter >= GetAdapterCount() || mode >= ClassicDisplayModes().size()) return D3DERR_INVALIDCALL;
    *displayMode = ClassicDisplayModes()[mode];
    return D3D_OK;
  }
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) override {
    recorder_->Call("GetAdapterDisplayMode", Num(adapter));
    if (adapter >= GetAdapterCount() || recorder_->recording->CallFails("GetAdapterDisplayMode"))
      return D3DERR_INVALIDCALL;
    *displayMode = Options().desktopModes[adapter];
    return D3D_OK;
  }
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD behaviorFlags, D3DPRESENT_PARAMETERS* p,
                       IDirect3DDevice8** device) override {
    const std::string arguments = Join({Num(adapter), Num(type), Hex(behaviorFlags), Num(p->BackBufferWidth),
                                        Num(p->BackBufferHeight), Num(p->BackBufferFormat), Num(p->Windowed),
                                        Num(p->EnableAutoDepthStencil), Num(p->AutoDepthStencilFormat)});
    if (adapter >= GetAdapterCount() || recorder_->recording->CallFails("CreateDevice")) {
      recorder_->Call("CreateDevice", arguments, "failed");
      return D3DERR_NOTAVAILABLE;
    }
    recorder_->Call("CreateDevice", arguments, "device");
    *device = new NullDevice(recorder_, *p);
    return D3D_OK;
  }

 private:
  const NullDeviceOptions& Options() const { return recorder_->recording->options; }
  std::shared_ptr<Recorder> recorder_;
};

}  // namespace

bool NullDeviceLog::CallFails(const std::string& operation) {
  const int number = ++counts[operation];
  const auto rule = options.failingCalls.find(operation);
  return rule != options.failingCalls.end() && (rule->second == 0 || rule->second == number);
}

std::vector<std::string> NullDeviceLog::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  return found;
}

D3DCAPS8 CompleteNullDeviceCaps() {
  D3DCAPS8 caps{};
  caps.DeviceType = D3DDEVTYPE_HAL;
  caps.Caps2 = D3DCAPS2_CANRENDERWINDOWED;
  caps.PrimitiveMiscCaps = D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
  caps.RasterCaps = D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_ZFOG;
  caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;
  caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA;
  caps.TextureFilterCaps =
      D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  caps.MaxTextureWidth = caps.MaxTextureHeight = 4096;
  caps.MaxSimultaneousTextures = 1;
  caps.MaxActiveLights = 8;
  caps.MaxPointSize = 64.0f;
  return caps;
}

IDirect3D8* CreateNullDirect3D8(std::shared_ptr<NullDeviceLog> recording) {
  return new NullDirect3D(std::move(recording));
}
