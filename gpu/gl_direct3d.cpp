// The OpenGL Direct3D object: adapters are screens, all driven by the one GL renderer.
#include "gpu/gl_direct3d.h"

#include <cstdio>

#include "gpu/classic_modes.h"
#include "gpu/gl_device.h"
#include "gpu/window_host.h"

namespace {

class GLDirect3D : public RefCounted<IDirect3D8> {
 public:
  explicit GLDirect3D(std::vector<D3DDISPLAYMODE> desktopModes) : desktopModes_(std::move(desktopModes)) {}

  UINT GetAdapterCount() override { return UINT(desktopModes_.size()); }
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* identifier) override {
    if (adapter >= GetAdapterCount() || identifier == nullptr) return D3DERR_INVALIDCALL;
    *identifier = {};
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "OpenGL");
    std::snprintf(identifier->Description, sizeof identifier->Description, "%s", RendererName().c_str());
    return D3D_OK;
  }
  UINT GetAdapterModeCount(UINT adapter) override {
    return adapter < GetAdapterCount() ? UINT(ClassicDisplayModes().size()) : 0;
  }
  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* displayMode) override {
    if (adapter >= GetAdapterCount() || mode >= ClassicDisplayModes().size() || displayMode == nullptr)
      return D3DERR_INVALIDCALL;
    *displayMode = ClassicDisplayModes()[mode];
    return D3D_OK;
  }
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) override {
    if (adapter >= GetAdapterCount() || displayMode == nullptr) return D3DERR_INVALIDCALL;
    *displayMode = desktopModes_[adapter];
    return D3D_OK;
  }
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE, HWND focusWindow, DWORD, D3DPRESENT_PARAMETERS* parameters,
                       IDirect3DDevice8** device) override {
    if (adapter >= GetAdapterCount() || parameters == nullptr || device == nullptr) return D3DERR_INVALIDCALL;
    WindowHost* host = parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
    D3DPRESENT_PARAMETERS used = *parameters;
    std::shared_ptr<GLCore> core;
    if (host != nullptr) {
      host->MakeCurrent();
      if (used.BackBufferWidth == 0 || used.BackBufferHeight == 0)
        host->SizePx(used.BackBufferWidth, used.BackBufferHeight);
      core = std::make_shared<GLCore>(host, nullptr);
    } else {
      std::unique_ptr<EglContext> context;
      const std::string whyNot = EglContext::Create(context);
      if (!whyNot.empty()) {
        std::fprintf(stderr, "quarnel: no offscreen OpenGL: %s\n", whyNot.c_str());
        return D3DERR_NOTAVAILABLE;
      }
      core = std::make_shared<GLCore>(nullptr, std::move(context));
    }
    GLDevice* created = nullptr;
    const std::string whyNot = GLDevice::Create(core, used, created);
    if (!whyNot.empty()) {
      std::fprintf(stderr, "quarnel: OpenGL device not created: %s\n", whyNot.c_str());
      return D3DERR_NOTAVAILABLE;
    }
    *device = created;
    return D3D_OK;
  }

 private:
  // The GL_RENDERER text, read once from a short-lived offscreen context.
  const std::string& RendererName() {
    if (rendererName_.empty()) {
      std::unique_ptr<EglContext> context;
      const bool made = EglContext::Create(context).empty();
      const auto* name = made ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : nullptr;
      rendererName_ = name != nullptr ? name : "OpenGL renderer";
    }
    return rendererName_;
  }

  std::vector<D3DDISPLAYMODE> desktopModes_;
  std::string rendererName_;
};

}  // namespace

IDirect3D8* CreateGLDirect3D8(const std::vector<D3DDISPLAYMODE>& desktopModes) {
  if (desktopModes.empty()) return nullptr;
  return new GLDirect3D(desktopModes);
}

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return CreateGLDirect3D8({{1024, 768, 60, D3DFMT_X8R8G8B8}});
}

bool ReadBackBuffer(IDirect3DDevice8* device, RgbaImage& image) {
  DeviceExtras* extras = ExtrasOf(device);
  return extras != nullptr && extras->ReadBackBuffer(image);
}
