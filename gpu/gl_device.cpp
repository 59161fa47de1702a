#include "gpu/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "gpu/d3dx8.h"
#include "gpu/gl_check.h"
#include "gpu/window_host.h"

namespace {

void ToFloats(D3DCOLOR color, float out[4]) {
  out[0] = float((color >> 16) & 255) / 255.0f;
  out[1] = float((color >> 8) & 255) / 255.0f;
  out[2] = float(color & 255) / 255.0f;
  out[3] = float(color >> 24) / 255.0f;
}

float DwordToFloat(DWORD value) {
  float result;
  std::memcpy(&result, &value, 4);
  return result;
}

DWORD FloatToDword(float value) {
  DWORD result;
  std::memcpy(&result, &value, 4);
  return result;
}

GLenum CompareFunction(DWORD function) {
  switch (function) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum BlendFactor(DWORD factor, GLenum otherwise) {
  switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    // Direct3D defines the BOTH factors for the source only; as a destination we read them literally.
    case D3DBLEND_BOTHSRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_BOTHINVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    default: return otherwise;
  }
}

GLenum BlendEquation(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    default: return GL_TRIANGLE_FAN;
  }
}

// Vertices needed by count primitives, and the largest count that fits into available vertices.
UINT VerticesFor(D3DPRIMITIVETYPE type, UINT count) {
  switch (type) {
    case D3DPT_POINTLIST: return count;
    case D3DPT_LINELIST: return count * 2;
    case D3DPT_LINESTRIP: return count + 1;
    case D3DPT_TRIANGLELIST: return count * 3;
    default: return count + 2;
  }
}
UINT PrimitivesFitting(D3DPRIMITIVETYPE type, UINT available) {
  switch (type) {
    case D3DPT_POINTLIST: return available;
    case D3DPT_LINELIST: return available / 2;
    case D3DPT_LINESTRIP: return available >= 2 ? available - 1 : 0;
    case D3DPT_TRIANGLELIST: return available / 3;
    default: return available >= 3 ? available - 2 : 0;
  }
}

// Byte offsets of the parts of a flexible vertex format; -1 where absent.
struct VertexLayout {
  int normal = -1, diffuse = -1, specular = -1, texture = -1;
};
VertexLayout LayoutOf(DWORD fvf) {
  VertexLayout layout;
  int offset = 12;  // XYZ
  if (fvf & D3DFVF_NORMAL) layout.normal = offset, offset += 12;
  if (fvf & 0x020) offset += 4;  // point size
  if (fvf & D3DFVF_DIFFUSE) layout.diffuse = offset, offset += 4;
  if (fvf & D3DFVF_SPECULAR) layout.specular = offset, offset += 4;
  if ((fvf >> 8) & 0xF) layout.texture = offset;
  return layout;
}

// Direct3D's clip space (row vectors, depth 0..1) to GL's (depth -1..1), with Y turned so that row 0
// of the target is the picture's top. Column-major for glLoadMatrixf.
constexpr GLfloat kD3DToGLClip[16] = {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};

void Transform(const D3DMATRIX& m, const float in[3], float out[3]) {
  for (int c = 0; c < 3; ++c) out[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + m.m[3][c];
}

float FogFactor(DWORD mode, float distance, float start, float end, float density) {
  float factor = 1.0f;
  switch (mode) {
    case D3DFOG_EXP: factor = std::exp(-density * distance); break;
    case D3DFOG_EXP2: factor = std::exp(-(density * distance) * (density * distance)); break;
    case D3DFOG_LINEAR: factor = end == start ? 1.0f : (end - distance) / (end - start); break;
    default: break;
  }
  return std::clamp(factor, 0.0f, 1.0f);
}

// One texture-stage operation as GL_COMBINE state for colour or alpha.
void Combine(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
  const GLenum sources[3] = {GLenum(alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB), GLenum(alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB),
                             GLenum(alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB)};
  const GLenum operands[3] = {GLenum(alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB),
                              GLenum(alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB),
                              GLenum(alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB)};
  auto set = [&](int slot, DWORD arg) {
    GLenum source = GL_PRIMARY_COLOR;  // D3DTA_DIFFUSE; D3DTA_SPECULAR has no GL source and reads diffuse
    switch (arg & D3DTA_SELECTMASK) {
      case D3DTA_CURRENT: source = GL_PREVIOUS; break;
      case D3DTA_TEXTURE: source = GL_TEXTURE; break;
      case D3DTA_TFACTOR: source = GL_CONSTANT; break;
      default: break;
    }
    const bool complement = arg & D3DTA_COMPLEMENT;
    GLenum operand = complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
    if (alpha || (arg & D3DTA_ALPHAREPLICATE)) operand = complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    glTexEnvi(GL_TEXTURE_ENV, sources[slot], GLint(source));
    glTexEnvi(GL_TEXTURE_ENV, operands[slot], GLint(operand));
  };
  GLenum function = GL_MODULATE;
  float scale = 1.0f;
  set(0, arg1);
  set(1, arg2);
  switch (op) {
    case D3DTOP_DISABLE: function = GL_REPLACE; set(0, D3DTA_CURRENT); break;
    case D3DTOP_SELECTARG1: function = GL_REPLACE; break;
    case D3DTOP_SELECTARG2: function = GL_REPLACE; set(0, arg2); break;
    case D3DTOP_MODULATE2X: scale = 2.0f; break;
    case D3DTOP_MODULATE4X: scale = 4.0f; break;
    case D3DTOP_ADD: function = GL_ADD; break;
    case D3DTOP_ADDSIGNED: function = GL_ADD_SIGNED; break;
    case D3DTOP_ADDSIGNED2X: function = GL_ADD_SIGNED; scale = 2.0f; break;
    case D3DTOP_SUBTRACT: function = GL_SUBTRACT; break;
    case D3DTOP_BLENDDIFFUSEALPHA: function = GL_INTERPOLATE; set(2, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE); break;
    case D3DTOP_BLENDTEXTUREALPHA: function = GL_INTERPOLATE; set(2, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE); break;
    case D3DTOP_BLENDFACTORALPHA: function = GL_INTERPOLATE; set(2, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE); break;
    case D3DTOP_BLENDCURRENTALPHA: function = GL_INTERPOLATE; set(2, D3DTA_CURRENT | D3DTA_ALPHAREPLICATE); break;
    default: break;  // MODULATE; the operations this renderer never sets also modulate
  }
  glTexEnvi(GL_TEXTURE_ENV, alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB, GLint(function));
  glTexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
}

}  // namespace

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

GLDevice* GLDevice::Create(std::shared_ptr<GLCore> core, const D3DPRESENT_PARAMETERS& parameters, std::string& whyNot) {
  core->MakeCurrent();
  const GLCallCheck check("CreateDevice");
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major * 10 + minor < 30) {
    whyNot = "OpenGL 3.0 (framebuffer objects, blits) is needed";
    return nullptr;
  }
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
  if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 ||
      parameters.BackBufferWidth > UINT(maxSize) || parameters.BackBufferHeight > UINT(maxSize)) {
    whyNot = "back buffer size not possible";
    return nullptr;
  }
  GLTextureFormat format;
  if (!GLFormatOf(parameters.BackBufferFormat, true, format)) {
    whyNot = "back buffer format not possible";
    return nullptr;
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
  caps.RasterCaps = D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE |
                    D3DPRASTERCAPS_WFOG | D3DPRASTERCAPS_ZFOG;
  caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;  // every factor, the BOTH ones emulated
  caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA;
  caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                           D3DPTFILTERCAPS_MAGFLINEAR;
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
    whyNot = "back buffer not usable";
    device->Release();
    return nullptr;
  }
  return device;
}

GLDevice::~GLDevice() {
  core_->MakeCurrent();
  const GLCallCheck check("Release(device)");
  if (texture_ != nullptr) texture_->Release();
  if (stream_ != nullptr) stream_->Release();
  target_->Release();
  backSurface_->Release();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
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
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);  // only level 0 is drawn into or sampled
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(glFormat.internalFormat), GLsizei(width), GLsizei(height), 0,
                 glFormat.uploadFormat, glFormat.uploadType, nullptr);
    if (glGetError() != GL_NO_ERROR) {
      glDeleteTextures(1, &name);
      return D3DERR_OUTOFVIDEOMEMORY;
    }
  }
  *texture = new GLTexture(core_, name, {format, usage, D3DPOOL_DEFAULT, width, height}, glFormat);
  return D3D_OK;
}

HRESULT GLDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= D3DRS_COUNT) return D3DERR_INVALIDCALL;
  renderStates_[state] = value;
  return D3D_OK;
}

HRESULT GLDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage != 0 || type >= D3DTSS_COUNT) return D3DERR_INVALIDCALL;
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
  return D3D_OK;
}

HRESULT GLDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
  if (index != 0 || light == nullptr) return D3DERR_INVALIDCALL;  // one light is all the renderer uses
  light_ = *light;
  return D3D_OK;
}

HRESULT GLDevice::LightEnable(DWORD index, BOOL enable) {
  if (index != 0) return D3DERR_INVALIDCALL;
  lightEnabled_ = enable != 0;
  return D3D_OK;
}

HRESULT GLDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (matrix == nullptr) return D3DERR_INVALIDCALL;
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
  if (!(fvf & D3DFVF_XYZ)) return D3DERR_INVALIDCALL;  // only untransformed vertices are drawn
  fvf_ = fvf;
  return D3D_OK;
}

HRESULT GLDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
  if (stage != 0) return D3DERR_INVALIDCALL;
  if (texture != nullptr) texture->AddRef();
  if (texture_ != nullptr) texture_->Release();
  texture_ = static_cast<GLTexture*>(texture);
  return D3D_OK;
}

HRESULT GLDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD) {
  if (count > 0 && rects == nullptr) return D3DERR_INVALIDCALL;
  // As Direct3D: asking for the depth buffer while the target has none fails as a whole (nothing is
  // cleared), and so does asking for a stencil buffer, which the D16 depth buffer lacks.
  if ((flags & D3DCLEAR_STENCIL) || ((flags & D3DCLEAR_ZBUFFER) && !depthAttached_)) return D3DERR_INVALIDCALL;
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
  if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
  if (mask == 0) return D3D_OK;
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
  const D3DRECT whole = {int32_t(viewport_.X), int32_t(viewport_.Y), int32_t(viewport_.X + viewport_.Width),
                         int32_t(viewport_.Y + viewport_.Height)};
  for (DWORD i = 0; i < std::max<DWORD>(count, 1); ++i) {
    const D3DRECT r = count == 0 ? whole : rects[i];
    const int32_t x1 = std::max(r.x1, whole.x1), y1 = std::max(r.y1, whole.y1);
    const int32_t x2 = std::min(r.x2, whole.x2), y2 = std::min(r.y2, whole.y2);
    if (x2 <= x1 || y2 <= y1) continue;
    glScissor(x1, y1, x2 - x1, y2 - y1);
    glClear(mask);
  }
  glDisable(GL_SCISSOR_TEST);
  UnbindTarget();
  return D3D_OK;
}

HRESULT GLDevice::BeginScene() {
  core_->MakeCurrent();
  return D3D_OK;
}

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

// Direct3D's point size: Si = D3DRS_POINTSIZE; with point scaling Ss = Vh × Si × sqrt(1 / (A + B·De +
// C·De²)), De the eye-space distance of the point and Vh the viewport height; then clamped to
// D3DRS_POINTSIZE_MIN .. D3DRS_POINTSIZE_MAX (and the device's largest size). A point whose centre lies
// outside the view volume is dropped whole. Each point becomes a screen-aligned square of Ss pixels,
// built around the point in eye space, so that lighting and fog see the point's own position; a square
// smaller than a pixel covers a pixel only where it holds the pixel's centre, as Direct3D rasterizes.
// Point sprites map the whole texture onto the square, (0, 0) at its top left.
void GLDevice::DrawPointSquares(const uint8_t* vertices, UINT firstVertex, UINT vertexCount) {
  const VertexLayout layout = LayoutOf(fvf_);
  const UINT stride = streamStride_;
  const bool sprite = renderStates_[D3DRS_POINTSPRITEENABLE] != 0;
  const bool scale = renderStates_[D3DRS_POINTSCALEENABLE] != 0;
  const float size = RenderStateFloat(D3DRS_POINTSIZE);
  const float a = RenderStateFloat(D3DRS_POINTSCALE_A), b = RenderStateFloat(D3DRS_POINTSCALE_B);
  const float c = RenderStateFloat(D3DRS_POINTSCALE_C);
  const float minimum = RenderStateFloat(D3DRS_POINTSIZE_MIN);
  const float maximum = std::min(RenderStateFloat(D3DRS_POINTSIZE_MAX), caps_.MaxPointSize);
  const float viewportW = float(viewport_.Width), viewportH = float(viewport_.Height);
  const D3DMATRIX& p = projection_;
  D3DMATRIX worldView;
  D3DXMatrixMultiply(&worldView, &world_, &view_);
  const float cornerX[4] = {-1, 1, 1, -1}, cornerY[4] = {1, 1, -1, -1};  // top left, clockwise on screen
  const float cornerU[4] = {0, 1, 1, 0}, cornerV[4] = {0, 0, 1, 1};
  squares_.clear();
  squareUvs_.clear();
  for (UINT i = firstVertex; i < firstVertex + vertexCount; ++i) {
    const uint8_t* vertex = vertices + size_t(i) * stride;
    float position[3], eye[3];
    std::memcpy(position, vertex, sizeof position);
    Transform(worldView, position, eye);
    const float clip[4] = {eye[0] * p.m[0][0] + eye[1] * p.m[1][0] + eye[2] * p.m[2][0] + p.m[3][0],
                           eye[0] * p.m[0][1] + eye[1] * p.m[1][1] + eye[2] * p.m[2][1] + p.m[3][1],
                           eye[0] * p.m[0][2] + eye[1] * p.m[1][2] + eye[2] * p.m[2][2] + p.m[3][2],
                           eye[0] * p.m[0][3] + eye[1] * p.m[1][3] + eye[2] * p.m[2][3] + p.m[3][3]};
    const float w = clip[3];
    if (!(w > 0.0f) || std::fabs(clip[0]) > w || std::fabs(clip[1]) > w || clip[2] < 0.0f || clip[2] > w) continue;
    float pixels = size;
    if (scale) {
      const float distance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
      pixels = viewportH * size * std::sqrt(1.0f / (a + b * distance + c * distance * distance));
    }
    pixels = std::min(std::max(pixels, minimum), maximum);
    if (!(pixels > 0.0f) || p.m[0][0] == 0.0f || p.m[1][1] == 0.0f) continue;
    // Half a square in eye units: pixels / 2 of the viewport is pixels / size of clip space at this w.
    const float halfX = pixels * w / (viewportW * std::fabs(p.m[0][0]));
    const float halfY = pixels * w / (viewportH * std::fabs(p.m[1][1]));
    for (int k = 0; k < 4; ++k) {
      const size_t at = squares_.size();
      squares_.insert(squares_.end(), vertex, vertex + stride);
      const float corner[3] = {eye[0] + cornerX[k] * halfX, eye[1] + cornerY[k] * halfY, eye[2]};
      std::memcpy(&squares_[at], corner, sizeof corner);
      if (sprite) squareUvs_.insert(squareUvs_.end(), {cornerU[k], cornerV[k]});
      if (layout.normal >= 0) {  // turned into eye space with the point (no inverse transpose: a point has no surface)
        float normal[3], turned[3];
        std::memcpy(normal, &squares_[at + size_t(layout.normal)], sizeof normal);
        for (int k2 = 0; k2 < 3; ++k2)
          turned[k2] = normal[0] * worldView.m[0][k2] + normal[1] * worldView.m[1][k2] + normal[2] * worldView.m[2][k2];
        std::memcpy(&squares_[at + size_t(layout.normal)], turned, sizeof turned);
      }
    }
  }
  if (squares_.empty()) return;
  const UINT cornerCount = UINT(squares_.size() / stride);
  ApplyState(fvf_, squares_.data(), stride, 0, cornerCount, true);
  if (sprite) {  // the sprite's own coordinates, whatever the vertex holds or the stage generates
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, squareUvs_.data());
  }
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);  // a point is a point whatever the fill and cull modes
  glDisable(GL_CULL_FACE);
  glDrawArrays(GL_QUADS, 0, GLsizei(cornerCount));
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
  D3DSURFACE_DESC desc;
  target_->GetDesc(&desc);
  viewport_ = {0, 0, desc.Width, desc.Height, 0.0f, 1.0f};  // bound by the next clear or draw
  return D3D_OK;
}

void GLDevice::BindTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, targetFbo_);
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

HRESULT GLDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  core_->MakeCurrent();
  const GLCallCheck check("Present");
  WindowHost* host = core_->Host();
  if (host == nullptr) {
    glFinish();
    return D3D_OK;
  }
  uint32_t windowWidth = 0, windowHeight = 0;
  host->SizePx(windowWidth, windowHeight);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  // Scaled to the window with the aspect kept; row 0 (the top) goes to the window's top.
  const double scale = std::min(double(windowWidth) / backWidth_, double(windowHeight) / backHeight_);
  const GLint w = GLint(std::lround(backWidth_ * scale)), h = GLint(std::lround(backHeight_ * scale));
  const GLint x = (GLint(windowWidth) - w) / 2, y = (GLint(windowHeight) - h) / 2;
  glBlitFramebuffer(0, 0, GLint(backWidth_), GLint(backHeight_), x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                    scale == 1.0 ? GL_NEAREST : GL_LINEAR);
  host->SwapBuffers();
  UnbindTarget();
  return D3D_OK;
}

bool GLDevice::ReadBackBuffer(RgbaImage& image) {
  core_->MakeCurrent();
  const GLCallCheck check("ReadBackBuffer");
  image.widthPx = backWidth_;
  image.heightPx = backHeight_;
  image.rgba.assign(size_t(backWidth_) * backHeight_ * 4, 0);
  DiscardGLErrors();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, GLsizei(backWidth_), GLsizei(backHeight_), GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
  UnbindTarget();
  return glGetError() == GL_NO_ERROR;
}

float GLDevice::RenderStateFloat(D3DRENDERSTATETYPE state) const { return DwordToFloat(renderStates_[state]); }

void GLDevice::ApplyState(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount,
                          bool eyeSpace) {
  const VertexLayout layout = LayoutOf(fvf);
  BindTarget();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, GLsizei(stride), vertices);
  if (layout.normal >= 0) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, GLsizei(stride), vertices + layout.normal);
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
    glNormal3f(0.0f, 0.0f, 0.0f);
  }
  if (layout.texture >= 0) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, GLsizei(stride), vertices + layout.texture);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glMultiTexCoord4f(GL_TEXTURE0, 0.0f, 0.0f, 0.0f, 1.0f);
  }
  ApplyTransforms(eyeSpace);
  const int colour = ApplyLighting(fvf);
  if (colour >= 0) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), vertices + colour);
  } else {
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // Direct3D's colour for vertices without one
  }
  const bool unlitSpecular = !renderStates_[D3DRS_LIGHTING] && renderStates_[D3DRS_SPECULARENABLE] && layout.specular >= 0;
  if (unlitSpecular) {
    glEnable(GL_COLOR_SUM);
    glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
    glSecondaryColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), vertices + layout.specular);
  } else {
    glDisable(GL_COLOR_SUM);
    glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
  }
  ApplyTextureStage(fvf);
  ApplyFog(fvf, vertices, stride, firstVertex, vertexCount, eyeSpace);
  ApplyRaster();
}

void GLDevice::ApplyTransforms(bool eyeSpace) {
  glViewport(GLint(viewport_.X), GLint(viewport_.Y), GLsizei(viewport_.Width), GLsizei(viewport_.Height));
  glDepthRange(viewport_.MinZ, viewport_.MaxZ);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(kD3DToGLClip);
  glMultMatrixf(&projection_.m[0][0]);  // a row-vector matrix read column-major is its GL form
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const GLfloat planeX[4] = {1, 0, 0, 0}, planeY[4] = {0, 1, 0, 0};
  glTexGenfv(GL_S, GL_EYE_PLANE, planeX);  // camera-space position = eye coordinates
  glTexGenfv(GL_T, GL_EYE_PLANE, planeY);
  glLoadMatrixf(&view_.m[0][0]);
  if (lightEnabled_) {
    const D3DVECTOR& d = light_.Direction;
    const D3DVECTOR& p = light_.Position;
    const GLfloat position[4] = {light_.Type == D3DLIGHT_DIRECTIONAL ? -d.x : p.x,
                                 light_.Type == D3DLIGHT_DIRECTIONAL ? -d.y : p.y,
                                 light_.Type == D3DLIGHT_DIRECTIONAL ? -d.z : p.z,
                                 light_.Type == D3DLIGHT_DIRECTIONAL ? 0.0f : 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);  // world space, like Direct3D's lights
    const GLfloat direction[3] = {d.x, d.y, d.z};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
  }
  if (eyeSpace)
    glLoadIdentity();
  else
    glMultMatrixf(&world_.m[0][0]);
}

int GLDevice::ApplyLighting(DWORD fvf) {
  const VertexLayout layout = LayoutOf(fvf);
  glDisable(GL_COLOR_MATERIAL);
  if (!renderStates_[D3DRS_LIGHTING]) {
    glDisable(GL_LIGHTING);
    return layout.diffuse;
  }
  glEnable(GL_LIGHTING);
  float ambient[4];
  ToFloats(renderStates_[D3DRS_AMBIENT], ambient);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, renderStates_[D3DRS_LOCALVIEWER] ? 1 : 0);
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  const bool specular = renderStates_[D3DRS_SPECULARENABLE] != 0;
  const GLfloat none[4] = {0, 0, 0, 0};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &material_.Diffuse.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &material_.Ambient.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular ? &material_.Specular.r : none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &material_.Emissive.r);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material_.Power, 0.0f, 128.0f));
  if (lightEnabled_) {
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, &light_.Diffuse.r);
    glLightfv(GL_LIGHT0, GL_AMBIENT, &light_.Ambient.r);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular ? &light_.Specular.r : none);
    const bool directional = light_.Type == D3DLIGHT_DIRECTIONAL;
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, directional ? 1.0f : std::max(light_.Attenuation0, 1e-6f));
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, directional ? 0.0f : light_.Attenuation1);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, directional ? 0.0f : light_.Attenuation2);
    // A spot light keeps only its outer cone (GL has no inner one).
    const bool spot = light_.Type == D3DLIGHT_SPOT;
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, spot ? std::clamp(light_.Phi * 90.0f / 3.14159265f, 0.0f, 90.0f) : 180.0f);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, spot ? std::clamp(light_.Falloff, 0.0f, 128.0f) : 0.0f);
  } else {
    glDisable(GL_LIGHT0);
  }

  // Material colour sources: GL follows one vertex colour; it takes the place of the diffuse and/or
  // ambient material (a diffuse and an ambient from different vertex colours: diffuse wins), else of
  // the specular or emissive material.
  auto source = [&](D3DRENDERSTATETYPE state) -> int {
    if (!renderStates_[D3DRS_COLORVERTEX]) return -1;
    if (renderStates_[state] == D3DMCS_COLOR1) return layout.diffuse;
    if (renderStates_[state] == D3DMCS_COLOR2) return layout.specular;
    return -1;
  };
  const int diffuse = source(D3DRS_DIFFUSEMATERIALSOURCE), ambientSource = source(D3DRS_AMBIENTMATERIALSOURCE);
  const int specularSource = source(D3DRS_SPECULARMATERIALSOURCE), emissive = source(D3DRS_EMISSIVEMATERIALSOURCE);
  int tracked = -1;
  GLenum mode = GL_AMBIENT_AND_DIFFUSE;
  if (diffuse >= 0) {
    tracked = diffuse;
    mode = ambientSource == diffuse ? GL_AMBIENT_AND_DIFFUSE : GL_DIFFUSE;
  } else if (ambientSource >= 0) {
    tracked = ambientSource, mode = GL_AMBIENT;
  } else if (specularSource >= 0 && specular) {
    tracked = specularSource, mode = GL_SPECULAR;
  } else if (emissive >= 0) {
    tracked = emissive, mode = GL_EMISSION;
  }
  if (tracked >= 0) {
    glColorMaterial(GL_FRONT_AND_BACK, mode);
    glEnable(GL_COLOR_MATERIAL);
  }
  return tracked;
}

void GLDevice::ApplyTextureStage(DWORD fvf) {
  glActiveTexture(GL_TEXTURE0);
  const DWORD* ts = stageStates_;
  // A stage without a texture passes the vertex colour on, colour and alpha, as Direct3D's drivers do.
  if (ts[D3DTSS_COLOROP] == D3DTOP_DISABLE || texture_ == nullptr) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    return;
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_->Name());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, ts[D3DTSS_MAGFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, ts[D3DTSS_MINFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  auto wrap = [](DWORD address) {
    return address == D3DTADDRESS_CLAMP ? GL_CLAMP_TO_EDGE : address == D3DTADDRESS_MIRROR ? GL_MIRRORED_REPEAT : GL_REPEAT;
  };
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap(ts[D3DTSS_ADDRESSU]));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap(ts[D3DTSS_ADDRESSV]));
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  float factor[4];
  ToFloats(renderStates_[D3DRS_TEXTUREFACTOR], factor);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
  Combine(false, ts[D3DTSS_COLOROP], ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2]);
  Combine(true, ts[D3DTSS_ALPHAOP], ts[D3DTSS_ALPHAARG1], ts[D3DTSS_ALPHAARG2]);

  GLint generation = 0;
  switch (ts[D3DTSS_TEXCOORDINDEX] & 0xFFFF0000) {
    case D3DTSS_TCI_CAMERASPACENORMAL: generation = GL_NORMAL_MAP; break;
    case D3DTSS_TCI_CAMERASPACEPOSITION: generation = GL_EYE_LINEAR; break;
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR: generation = GL_REFLECTION_MAP; break;
    default: break;
  }
  if (generation == 0) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (!((fvf >> 8) & 0xF)) glMultiTexCoord4f(GL_TEXTURE0, 0.0f, 0.0f, 0.0f, 1.0f);
    return;
  }
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, generation);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, generation);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
}

void GLDevice::ApplyFog(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount,
                        bool eyeSpace) {
  glDisableClientState(GL_FOG_COORD_ARRAY);
  if (!renderStates_[D3DRS_FOGENABLE]) {
    glDisable(GL_FOG);
    return;
  }
  glEnable(GL_FOG);
  float colour[4];
  ToFloats(renderStates_[D3DRS_FOGCOLOR], colour);
  glFogfv(GL_FOG_COLOR, colour);
  const DWORD tableMode = renderStates_[D3DRS_FOGTABLEMODE], vertexMode = renderStates_[D3DRS_FOGVERTEXMODE];
  const float start = RenderStateFloat(D3DRS_FOGSTART), end = RenderStateFloat(D3DRS_FOGEND);
  const float density = RenderStateFloat(D3DRS_FOGDENSITY);
  if (tableMode >= D3DFOG_EXP && tableMode <= D3DFOG_LINEAR) {
    // Table fog per pixel on the eye depth, as Direct3D does with a perspective projection; range fog
    // applies to vertex fog only.
    glFogi(GL_FOG_COORD_SRC, GL_FRAGMENT_DEPTH);
    glFogi(GL_FOG_MODE, tableMode == D3DFOG_EXP ? GL_EXP : tableMode == D3DFOG_EXP2 ? GL_EXP2 : GL_LINEAR);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glFogf(GL_FOG_DENSITY, std::max(density, 0.0f));  // GL refuses a negative density; its fog would be none
    return;
  }
  // Vertex fog: the factor per vertex, interpolated. GL's linear fog over coordinates 0..1 turns the
  // coordinate 1 - factor back into the factor.
  glFogi(GL_FOG_COORD_SRC, GL_FOG_COORD);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, 0.0f);
  glFogf(GL_FOG_END, 1.0f);
  const VertexLayout layout = LayoutOf(fvf);
  D3DMATRIX worldView;
  if (eyeSpace)
    D3DXMatrixIdentity(&worldView);
  else
    D3DXMatrixMultiply(&worldView, &world_, &view_);
  const bool range = renderStates_[D3DRS_RANGEFOGENABLE] != 0;
  fogCoordinates_.assign(size_t(firstVertex) + vertexCount, 0.0f);
  for (UINT i = firstVertex; i < firstVertex + vertexCount; ++i) {
    const uint8_t* vertex = vertices + size_t(i) * stride;
    float factor = 1.0f;
    if (vertexMode >= D3DFOG_EXP && vertexMode <= D3DFOG_LINEAR) {
      float position[3], eye[3];
      std::memcpy(position, vertex, sizeof position);
      Transform(worldView, position, eye);
      const float distance = range ? std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]) : eye[2];
      factor = FogFactor(vertexMode, distance, start, end, density);
    } else if (layout.specular >= 0) {
      factor = float(vertex[layout.specular + 3]) / 255.0f;  // no fog mode: the specular alpha is the factor
    }
    fogCoordinates_[i] = 1.0f - factor;
  }
  glEnableClientState(GL_FOG_COORD_ARRAY);
  glFogCoordPointer(GL_FLOAT, 0, fogCoordinates_.data());
}

void GLDevice::ApplyRaster() {
  const DWORD* rs = renderStates_;
  // Direct3D clips every primitive to the viewport; GL's viewport does not clip wide points and lines.
  glEnable(GL_SCISSOR_TEST);
  glScissor(GLint(viewport_.X), GLint(viewport_.Y), GLsizei(viewport_.Width), GLsizei(viewport_.Height));
  const DWORD fill = rs[D3DRS_FILLMODE];
  glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
  glShadeModel(rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);  // PHONG is shaded as GOURAUD
  // Direct3D's clockwise on screen is GL's counter-clockwise in the turned picture.
  if (rs[D3DRS_CULLMODE] == D3DCULL_CW || rs[D3DRS_CULLMODE] == D3DCULL_CCW) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(rs[D3DRS_CULLMODE] == D3DCULL_CCW ? GL_CCW : GL_CW);
  } else {
    glDisable(GL_CULL_FACE);
  }
  if (rs[D3DRS_ZENABLE] && depthAttached_) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunction(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  if (rs[D3DRS_ALPHATESTENABLE]) {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(CompareFunction(rs[D3DRS_ALPHAFUNC]), float(rs[D3DRS_ALPHAREF] & 255) / 255.0f);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
  if (rs[D3DRS_ALPHABLENDENABLE]) {
    glEnable(GL_BLEND);
    GLenum source = BlendFactor(rs[D3DRS_SRCBLEND], GL_ONE), destination = BlendFactor(rs[D3DRS_DESTBLEND], GL_ZERO);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) destination = GL_ONE_MINUS_SRC_ALPHA;
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) destination = GL_SRC_ALPHA;
    glBlendFunc(source, destination);
    glBlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
  } else {
    glDisable(GL_BLEND);
  }
  const DWORD write = rs[D3DRS_COLORWRITEENABLE];
  glColorMask(write & 1, (write >> 1) & 1, (write >> 2) & 1, (write >> 3) & 1);

  // Plain points (no sprite, no scaling) keep D3DRS_POINTSIZE within the limits; the others are squares.
  const float maximum = std::min(RenderStateFloat(D3DRS_POINTSIZE_MAX), caps_.MaxPointSize);
  glPointSize(std::max(std::clamp(RenderStateFloat(D3DRS_POINTSIZE), std::min(RenderStateFloat(D3DRS_POINTSIZE_MIN), maximum),
                                  maximum),
                       1e-3f));
}

void GLDevice::BeginScreenQuads() {
  core_->MakeCurrent();
  const GLCallCheck check("Begin(sprite)");
  BindTarget();
  D3DSURFACE_DESC target;
  target_->GetDesc(&target);
  glViewport(0, 0, GLsizei(target.Width), GLsizei(target.Height));
  glDepthRange(0.0, 1.0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, target.Width, 0.0, target.Height, -1.0, 1.0);  // target pixels, row 0 at the top
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (GLenum capability : {GL_LIGHTING, GL_FOG, GL_DEPTH_TEST, GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_GEN_S,
                            GL_TEXTURE_GEN_T, GL_COLOR_SUM, GL_COLOR_MATERIAL})
    glDisable(capability);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glShadeModel(GL_SMOOTH);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glEnable(GL_SCISSOR_TEST);
  glScissor(GLint(viewport_.X), GLint(viewport_.Y), GLsizei(viewport_.Width), GLsizei(viewport_.Height));
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBlendEquation(GL_FUNC_ADD);
  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  screenQuadTexture_ = 0;
}

void GLDevice::DrawScreenQuad(GLTexture* texture, const float corners[4][2], float u0, float v0, float u1, float v1,
                              D3DCOLOR color) {
  // A quad that holds no pixel centre of the viewport draws nothing: it is not sent at all.
  float left = corners[0][0], right = left, top = corners[0][1], bottom = top;
  for (int i = 1; i < 4; ++i) {
    left = std::min(left, corners[i][0]), right = std::max(right, corners[i][0]);
    top = std::min(top, corners[i][1]), bottom = std::max(bottom, corners[i][1]);
  }
  const float firstColumn = std::max(std::ceil(left - 0.5f), float(viewport_.X));
  const float lastColumn = std::min(std::floor(right - 0.5f), float(viewport_.X + viewport_.Width) - 1);
  const float firstRow = std::max(std::ceil(top - 0.5f), float(viewport_.Y));
  const float lastRow = std::min(std::floor(bottom - 0.5f), float(viewport_.Y + viewport_.Height) - 1);
  if (!(firstColumn <= lastColumn && firstRow <= lastRow)) return;
  const GLCallCheck check("Draw(sprite)");
  if (texture->Name() != screenQuadTexture_) {
    screenQuadTexture_ = texture->Name();
    glBindTexture(GL_TEXTURE_2D, screenQuadTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  glColor4ub(GLubyte(color >> 16), GLubyte(color >> 8), GLubyte(color), GLubyte(color >> 24));
  const float u[4] = {u0, u1, u1, u0}, v[4] = {v0, v0, v1, v1};
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(u[i], v[i]);
    glVertex2f(corners[i][0], corners[i][1]);
  }
  glEnd();
}

void GLDevice::EndScreenQuads() {
  glDisable(GL_SCISSOR_TEST);
  UnbindTarget();
}
