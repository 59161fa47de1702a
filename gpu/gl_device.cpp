// The OpenGL device's creation, its Direct3D state setters, clears and draws.
#include "gpu/gl_device.h"

#include <algorithm>
#include <cstdio>

#include "gpu/d3dx8.h"
#include "gpu/gl_check.h"
#include "gpu/gl_translation.h"
#include "gpu/window_host.h"

using namespace d3d_to_gl;

GLDevice::GLDevice(std::shared_ptr<GLCore> core, const D3DPRESENT_PARAMETERS& parameters)
    : core_(std::move(core)),
      backWidth_(parameters.BackBufferWidth),
      backHeight_(parameters.BackBufferHeight),
      depthAttached_(parameters.EnableAutoDepthStencil != 0) {
  D3DXMatrixIdentity(&world_);
  D3DXMatrixIdentity(&view_);
  D3DXMatrixIdentity(&projection_);
  viewport_ = {0, 0, backWidth_, backHeight_, 0.0f, 1.0f};
  material_.Diffuse = material_.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};  // ours: white until SetMaterial
  // Direct3D 8's initial states.
  auto& rs = renderStates_;
  rs[D3DRS_ZENABLE] = parameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
  rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = 1;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_FOGEND] = FloatToDword(1.0f);
  rs[D3DRS_FOGDENSITY] = FloatToDword(1.0f);
  rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
  rs[D3DRS_LIGHTING] = 1;
  rs[D3DRS_COLORVERTEX] = 1;
  rs[D3DRS_LOCALVIEWER] = 1;
  rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  rs[D3DRS_POINTSIZE] = FloatToDword(1.0f);
  rs[D3DRS_POINTSIZE_MIN] = FloatToDword(1.0f);
  rs[D3DRS_POINTSCALE_A] = FloatToDword(1.0f);
  rs[D3DRS_POINTSIZE_MAX] = FloatToDword(64.0f);
  rs[D3DRS_COLORWRITEENABLE] = 0xF;
  rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  auto& ts = stageStates_;
  ts[D3DTSS_COLOROP] = D3DTOP_MODULATE;
  ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
  ts[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
  ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
  ts[D3DTSS_ADDRESSU] = ts[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
  ts[D3DTSS_MAGFILTER] = ts[D3DTSS_MINFILTER] = D3DTEXF_POINT;
}

std::string GLDevice::Create(std::shared_ptr<GLCore> core, const D3DPRESENT_PARAMETERS& parameters, GLDevice*& made) {
  made = nullptr;
  core->MakeCurrent();
  const GLCallCheck check("CreateDevice");
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major * 10 + minor < 30) {
    return "OpenGL 3.0 (framebuffer objects, blits) is needed";
  }
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
  if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 ||
      parameters.BackBufferWidth > UINT(maxSize) || parameters.BackBufferHeight > UINT(maxSize)) {
    return "back buffer size not possible";
  }
  GLTextureFormat format;
  if (!GLFormatOf(parameters.BackBufferFormat, true, format)) {
    return "back buffer format not possible";
  }

  GLDevice* device = new GLDevice(core, parameters);
  const GLsizei w = GLsizei(parameters.BackBufferWidth), h = GLsizei(parameters.BackBufferHeight);
  glGenRenderbuffers(1, &device->colorBuffer_);
  glBindRenderbuffer(GL_RENDERBUFFER, device->colorBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, format.internalFormat, w, h);
  glGenRenderbuffers(1, &device->depthBuffer_);
  glBindRenderbuffer(GL_RENDERBUFFER, device->depthBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
  glGenFramebuffers(1, &device->backFbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, device->backFbo_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, device->colorBuffer_);
  glGenFramebuffers(1, &device->targetFbo_);

  GLint maxTextureSize = 0, maxLights = 0;
  GLfloat pointSizes[2] = {1.0f, 1.0f};
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
  glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
  glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, pointSizes);
  D3DCAPS8& caps = device->caps_;
  caps.DeviceType = D3DDEVTYPE_HAL;
  caps.Caps2 = D3DCAPS2_CANRENDERWINDOWED;
  caps.PrimitiveMiscCaps = D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
  caps.RasterCaps = D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_WFOG |
                    D3DPRASTERCAPS_ZFOG;
  caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;  // every factor, the BOTH ones emulated
  caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA;
  caps.TextureFilterCaps =
      D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  caps.MaxTextureWidth = caps.MaxTextureHeight = DWORD(maxTextureSize);
  caps.MaxSimultaneousTextures = 1;  // the renderer implements texture stage 0 only
  caps.MaxActiveLights = DWORD(std::min(maxLights, 1));
  caps.MaxPointSize = pointSizes[1];

  device->backSurface_ = new GLSurface({parameters.BackBufferFormat, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                                        parameters.BackBufferWidth, parameters.BackBufferHeight},
                                       nullptr);
  device->target_ = device->backSurface_;
  device->target_->AddRef();
  device->BindTarget();
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes a triangle's first vertex, as Direct3D
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  device->UnbindTarget();
  if (!complete) {
    device->Release();
    return "back buffer not usable";
  }
  if (core->Host() != nullptr) {
    GLint red = 0, green = 0, blue = 0, alpha = 0, depth = 0;
    GLboolean doubleBuffered = GL_FALSE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    device->windowHoldsFormat_ = format.internalFormat == GL_RGB8 && red == 8 && green == 8 && blue == 8 &&
                                 alpha == 0 && depth >= 24 && doubleBuffered;
    device->frameBegun_ = false;  // the first frame decides where it is drawn
  }
  made = device;
  return "";
}

GLDevice::~GLDevice() {
  core_->MakeCurrent();
  const GLCallCheck check("Release(device)");
  if (texture_ != nullptr) texture_->Release();
  if (stream_ != nullptr) stream_->Release();
  target_->Release();
  backSurface_->Release();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteBuffers(2, packBuffers_);
  glDeleteFramebuffers(1, &targetFbo_);
  glDeleteFramebuffers(1, &backFbo_);
  glDeleteRenderbuffers(1, &colorBuffer_);
  glDeleteRenderbuffers(1, &depthBuffer_);
}

HRESULT GLDevice::GetDeviceCaps(D3DCAPS8* caps) {
  if (caps == nullptr) return D3DERR_INVALIDCALL;
  *caps = caps_;
  return D3D_OK;
}

unsigned GLDevice::GroupOf(D3DRENDERSTATETYPE state) {
  switch (state) {
    case D3DRS_FOGENABLE:
    case D3DRS_FOGCOLOR:
    case D3DRS_FOGTABLEMODE:
    case D3DRS_FOGVERTEXMODE:
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
    case D3DRS_RANGEFOGENABLE: return kFogGroup;
    case D3DRS_LIGHTING:
    case D3DRS_AMBIENT:
    case D3DRS_LOCALVIEWER:
    case D3DRS_SPECULARENABLE:
    case D3DRS_COLORVERTEX:
    case D3DRS_DIFFUSEMATERIALSOURCE:
    case D3DRS_SPECULARMATERIALSOURCE:
    case D3DRS_AMBIENTMATERIALSOURCE:
    case D3DRS_EMISSIVEMATERIALSOURCE: return kLightingGroup;
    case D3DRS_TEXTUREFACTOR: return kTextureStageGroup;
    default: return kRasterGroup;
  }
}

HRESULT GLDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= D3DRS_COUNT) return D3DERR_INVALIDCALL;
  if (renderStates_[state] != value) staleGroups_ |= GroupOf(state);
  renderStates_[state] = value;
  return D3D_OK;
}

HRESULT GLDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage != 0 || type >= D3DTSS_COUNT) return D3DERR_INVALIDCALL;
  if (stageStates_[type] != value) staleGroups_ |= kTextureStageGroup;
  stageStates_[type] = value;
  return D3D_OK;
}

HRESULT GLDevice::SetViewport(const D3DVIEWPORT8* viewport) {
  D3DSURFACE_DESC target;
  target_->GetDesc(&target);
  if (viewport == nullptr || viewport->Width == 0 || viewport->Height == 0 || viewport->X > target.Width ||
      viewport->Y > target.Height || viewport->Width > target.Width - viewport->X ||
      viewport->Height > target.Height - viewport->Y)
    return D3DERR_INVALIDCALL;
  viewport_ = *viewport;
  staleGroups_ |= kTransformGroup | kRasterGroup;  // the viewport and its scissor
  return D3D_OK;
}

HRESULT GLDevice::GetViewport(D3DVIEWPORT8* viewport) {
  if (viewport == nullptr) return D3DERR_INVALIDCALL;
  *viewport = viewport_;
  return D3D_OK;
}

HRESULT GLDevice::SetMaterial(const D3DMATERIAL8* material) {
  if (material == nullptr) return D3DERR_INVALIDCALL;
  material_ = *material;
  staleGroups_ |= kLightingGroup;
  return D3D_OK;
}

HRESULT GLDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
  if (index != 0 || light == nullptr) return D3DERR_INVALIDCALL;  // one light is all the renderer uses
  light_ = *light;
  staleGroups_ |= kLightingGroup | kTransformGroup;  // the light's position goes with the transforms
  return D3D_OK;
}

HRESULT GLDevice::LightEnable(DWORD index, BOOL enable) {
  if (index != 0) return D3DERR_INVALIDCALL;
  if (lightEnabled_ != (enable != 0)) staleGroups_ |= kLightingGroup | kTransformGroup;
  lightEnabled_ = enable != 0;
  return D3D_OK;
}

HRESULT GLDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (matrix == nullptr) return D3DERR_INVALIDCALL;
  staleGroups_ |= kTransformGroup;
  switch (state) {
    case D3DTS_WORLD: world_ = *matrix; return D3D_OK;
    case D3DTS_VIEW: view_ = *matrix; return D3D_OK;
    case D3DTS_PROJECTION: projection_ = *matrix; return D3D_OK;
    default: return D3DERR_INVALIDCALL;
  }
}

HRESULT GLDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT strideBytes) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (buffer != nullptr) buffer->AddRef();
  if (stream_ != nullptr) stream_->Release();
  stream_ = static_cast<GLVertexBuffer*>(buffer);
  streamStride_ = strideBytes;
  return D3D_OK;
}

HRESULT GLDevice::SetVertexShader(DWORD fvf) {
  if (!(fvf & D3DFVF_XYZ)) return D3DERR_INVALIDCALL;                    // only untransformed vertices are drawn
  if (fvf_ != fvf) staleGroups_ |= kLightingGroup | kTextureStageGroup;  // both read the vertex layout
  fvf_ = fvf;
  return D3D_OK;
}

HRESULT GLDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
  if (stage != 0) return D3DERR_INVALIDCALL;
  if (texture != nullptr) texture->AddRef();
  if (texture_ != nullptr) texture_->Release();
  if (texture != texture_) staleGroups_ |= kTextureStageGroup;
  texture_ = static_cast<GLTexture*>(texture);
  return D3D_OK;
}

HRESULT GLDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD) {
  if (count > 0 && rects == nullptr) return D3DERR_INVALIDCALL;
  // As Direct3D: asking for the depth buffer while the target has none fails as a whole (nothing is
  // cleared), and so does asking for a stencil buffer, which the D16 depth buffer lacks.
  if ((flags & D3DCLEAR_STENCIL) || ((flags & D3DCLEAR_ZBUFFER) && !depthAttached_)) return D3DERR_INVALIDCALL;
  const D3DRECT whole = ViewportRect();
  std::vector<D3DRECT> cleared;  // within the viewport
  for (DWORD i = 0; i < std::max<DWORD>(count, 1); ++i) {
    const D3DRECT r = count == 0 ? whole : rects[i];
    const D3DRECT within = {std::max(r.x1, whole.x1), std::max(r.y1, whole.y1), std::min(r.x2, whole.x2),
                            std::min(r.y2, whole.y2)};
    if (within.x2 <= within.x1 || within.y2 <= within.y1) continue;
    cleared.push_back(within);
    if (flags & D3DCLEAR_TARGET) horizon_.Cleared(TargetKey(), within, !fastForward_);
    if (flags & D3DCLEAR_ZBUFFER) horizon_.Cleared(kDepthKey, within, !fastForward_);
  }
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
  if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
  if (mask == 0 || fastForward_) return D3D_OK;
  core_->MakeCurrent();
  const GLCallCheck check("Clear");
  BindTarget();
  float rgba[4];
  ToFloats(color, rgba);
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClearDepth(std::clamp(z, 0.0f, 1.0f));
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_TRUE);
  glEnable(GL_SCISSOR_TEST);
  for (const D3DRECT& r : cleared) {
    glScissor(r.x1, GLRowOf(uint32_t(r.y1), uint32_t(r.y2 - r.y1)), r.x2 - r.x1, r.y2 - r.y1);
    glClear(mask);
  }
  glDisable(GL_SCISSOR_TEST);
  staleGroups_ |= kRasterGroup;  // masks and scissor
  UnbindTarget();
  return D3D_OK;
}

HRESULT GLDevice::BeginScene() { return D3D_OK; }

HRESULT GLDevice::EndScene() { return D3D_OK; }

HRESULT GLDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  if (type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN || fvf_ == 0) return D3DERR_INVALIDCALL;
  if (stream_ == nullptr || streamStride_ == 0) return D3DERR_INVALIDCALL;  // an empty stream draws nothing
  const UINT available = UINT(stream_->Bytes().size() / streamStride_);
  if (startVertex >= available) return D3DERR_INVALIDCALL;
  // More primitives than the buffer holds: the whole primitives that fit are drawn.
  const UINT count = std::min(primitiveCount, PrimitivesFitting(type, available - startVertex));
  if (count == 0) return D3D_OK;
  const UINT vertexCount = VerticesFor(type, count);
  NoteDraw(texture_);
  if (fastForward_) return D3D_OK;
  core_->MakeCurrent();
  const GLCallCheck check("DrawPrimitive");
  if (type == D3DPT_POINTLIST && (renderStates_[D3DRS_POINTSPRITEENABLE] || renderStates_[D3DRS_POINTSCALEENABLE])) {
    DrawPointSquares(stream_->Bytes().data(), startVertex, vertexCount);
  } else {
    ApplyState(fvf_, stream_->Bytes().data(), streamStride_, startVertex, vertexCount, false);
    glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(vertexCount));
  }
  UnbindTarget();
  return D3D_OK;
}

ClearHorizon::SurfaceKey GLDevice::TargetKey() const {
  return target_->Texture() != nullptr ? target_->Texture()->Name() : kBackBufferKey;
}

void GLDevice::NoteDraw(const GLTexture* texture) {
  if (texture != nullptr && (texture->Desc().Usage & D3DUSAGE_RENDERTARGET)) horizon_.Read(texture->Name());
  horizon_.DrawnInto(TargetKey(), ViewportRect(), !fastForward_);
  if (depthAttached_) horizon_.DrawnInto(kDepthKey, ViewportRect(), !fastForward_);
}
