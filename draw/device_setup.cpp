#include "draw/device_setup.h"

#include "draw/draw_messages.h"
#include "gpu/window_host.h"

std::string CreateRenderDevice(RenderState& state, const DeviceChoice& choice) {
  if (!state.callbacks.fatalError) return kNoFatalErrorSinkText;
  D3DDISPLAYMODE desktop{};
  if (state.d3d == nullptr || FAILED(state.d3d->GetAdapterDisplayMode(choice.adapter, &desktop)))
    return kNoAdapterSettingsText;

  D3DPRESENT_PARAMETERS parameters{};
  parameters.BackBufferWidth = choice.widthPx;
  parameters.BackBufferHeight = choice.heightPx;
  parameters.BackBufferFormat = choice.windowed ? desktop.Format : choice.fullscreenFormat;
  parameters.BackBufferCount = 1;
  parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = nullptr;
  parameters.Windowed = choice.windowed;
  parameters.EnableAutoDepthStencil = true;
  parameters.AutoDepthStencilFormat = D3DFMT_D16;
  parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  if (choice.window != nullptr) choice.window->HideCursor();

  state.BackBufferFormat = parameters.BackBufferFormat;
  state.ViewWidth = uint16_t(parameters.BackBufferWidth);
  state.ViewHeight = uint16_t(parameters.BackBufferHeight);
  state.windowedOutput = choice.windowed;

  if (SUCCEEDED(state.d3d->CreateDevice(choice.adapter, D3DDEVTYPE_HAL, choice.window,
                                        D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &state.device)))
    return "";
  if (SUCCEEDED(state.d3d->CreateDevice(choice.adapter, D3DDEVTYPE_HAL, choice.window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &state.device)))
    return "";
  state.device = nullptr;
  return kDeviceInitFailedText;
}

std::string CheckDeviceCaps(RenderState& state) {
  std::string missing;
  if (state.device == nullptr || FAILED(state.device->GetDeviceCaps(&state.caps))) {
    state.callbacks.fatalError(kNoCapsText);
    return missing;
  }
  const D3DCAPS8& caps = state.caps;
  constexpr DWORD kAllBlendFactors = 0x1FFF;
  if (caps.MaxActiveLights < 1) missing += kCapsNoActiveLights;
  if (caps.MaxSimultaneousTextures < 1) missing += kCapsNoTextures;
  if (caps.MaxTextureWidth < 1024 || caps.MaxTextureHeight < 1024) missing += kCapsNoBigTextures;
  if (caps.DestBlendCaps != kAllBlendFactors || caps.SrcBlendCaps != kAllBlendFactors) missing += kCapsNotAllBlendings;
  if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) missing += kCapsNoNonSquareTextures;
  if (state.windowedOutput && !(caps.Caps2 & D3DCAPS2_CANRENDERWINDOWED)) missing += kCapsNoWindowedMode;
  if (!(caps.TextureCaps & D3DPTEXTURECAPS_ALPHA)) missing += kCapsNoTextureAlpha;
  if (!(caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFLINEAR) || !(caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR))
    missing += kCapsNoLinearFiltering;
  if (!(caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP)) missing += kCapsNoBlendOp;
  if (!(caps.RasterCaps & D3DPRASTERCAPS_FOGVERTEX)) missing += kCapsNoFogVertex;
  if (!(caps.RasterCaps & D3DPRASTERCAPS_FOGTABLE)) missing += kCapsNoFogTable;
  if (!(caps.RasterCaps & D3DPRASTERCAPS_FOGRANGE)) missing += kCapsNoFogRange;
  if (!(caps.RasterCaps & D3DPRASTERCAPS_ZFOG)) missing += kCapsNoZFog;
  return missing;
}
