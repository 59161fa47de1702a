#pragma once
// The OpenGL device. It keeps Direct3D's states as set and turns them into GL state right before each
// draw, group by group (transforms, lighting, texture stage, fog, raster, the target's attachment):
// a group's GL calls are made only when a Direct3D state it reflects changed since the last draw, or
// when GL state was changed behind it (a clear, the sprite's quads, point squares, presentation,
// texture creation and uploads, the toolkit painting the window), so none of these disturbs a draw.
//
// Where the back buffer lives: when the device presents into a window of the back buffer's size whose
// buffers hold its format (8-bit RGB without alpha, double-buffered, a depth buffer of 24 bits or
// more), the back buffer is the window's own back buffer, drawn upright, and Present only clears what
// the frame left untouched (the letterbox bars: a swap leaves the window's back buffer undefined) and
// swaps. Otherwise (offscreen, a scaled fullscreen mode, a resized window) it is a framebuffer of ours,
// and Present blits it into the window. Which of the two is decided at the first clear or draw of each
// frame.
//
// Our framebuffers, render targets included, are drawn upside down in GL terms: row 0 of the target
// is the top of the picture, like Direct3D's pixel rows, so render-target textures are sampled the
// right way up (v = 0 at the top). Viewports, scissors and clear rectangles go through GLRowOf.
//
// Each call binds the device's framebuffer for its own drawing and leaves the window's framebuffer (0)
// bound when it returns: the toolkit may draw, clear and swap the window whenever it has control (an
// expose, the event loop of a message box) and expects its own framebuffer then.
#include "gpu/clear_horizon.h"
#include "gpu/device_extras.h"
#include "gpu/gl_objects.h"

class GLDevice : public RefCounted<IDirect3DDevice8>, public DeviceExtras {
 public:
  // Makes the device in made (one reference, the caller's); returns "", or why not (made nullptr) when the
  // context lacks what the device needs or the size is unusable.
  [[nodiscard]] static std::string Create(std::shared_ptr<GLCore> core, const D3DPRESENT_PARAMETERS& parameters,
                                          GLDevice*& made);
  ~GLDevice() override;

  HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
  HRESULT CreateVertexBuffer(UINT lengthBytes, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer8** buffer) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
  HRESULT GetViewport(D3DVIEWPORT8* viewport) override;
  HRESULT SetMaterial(const D3DMATERIAL8* material) override;
  HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
  HRESULT LightEnable(DWORD index, BOOL enable) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT strideBytes) override;
  HRESULT SetVertexShader(DWORD fvf) override;
  HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT GetRenderTarget(IDirect3DSurface8** surface) override;
  HRESULT SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil) override;
  HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow, const void* dirtyRegion) override;

  HRESULT CreateSprite(ID3DXSprite** sprite) override;
  bool ReadBackBuffer(RgbaImage& image) override;
  bool QueueReadBack() override;
  bool TakeReadBack(RgbaImage& image) override;
  void SetFastForward(bool on) override { fastForward_ = on; }
  uint64_t LatestRealStart() const override { return horizon_.LatestStart(); }

  // The sprite's drawing: BeginScreenQuads sets the GL state once, then each DrawScreenQuad draws a
  // textured quad with corners in target pixels (clockwise from the texture's top left), texture
  // coordinates u0..u1, v0..v1, modulated by color, alpha-blended, clipped to the viewport. Any other
  // device call in between ends the run (Begin again before the next quad); EndScreenQuads ends it.
  void BeginScreenQuads();
  void EndScreenQuads();
  void DrawScreenQuad(GLTexture* texture, const float corners[4][2], float u0, float v0, float u1, float v1,
                      D3DCOLOR color);

 private:
  GLDevice(std::shared_ptr<GLCore> core, const D3DPRESENT_PARAMETERS& parameters);
  // eyeSpace: the vertices are already in eye space (the world and view transforms are not applied).
  void ApplyState(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount, bool eyeSpace);
  void ApplyTransforms(bool eyeSpace);
  int ApplyLighting(DWORD fvf);  // returns the byte offset of the vertex colour GL reads, -1 for none
  void ApplyTextureStage(DWORD fvf);
  void ApplyFog(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount, bool eyeSpace);
  void DrawPointSquares(const uint8_t* vertices, UINT firstVertex, UINT vertexCount);
  void ApplyRaster();
  void BeginFrame();  // at the first clear or draw after a Present: where this frame's back buffer lives
  void BindTarget();
  void UnbindTarget();
  bool WindowFits(uint32_t widthPx, uint32_t heightPx) const {
    return windowHoldsFormat_ && widthPx == backWidth_ && heightPx == backHeight_;
  }
  bool WindowIsTarget() const { return direct_ && target_ == backSurface_; }
  // The first GL row of a rectangle of the current target given by its top row and height in pixels.
  GLint GLRowOf(uint32_t topPx, uint32_t heightPx) const;
  D3DRECT ViewportRect() const;
  void ScissorToViewport();             // the scissor rectangle, the test enabled
  void BlitToWindow(WindowHost& host);  // scaled, the aspect kept, black borders
  // Black, the window's back buffer outside kept (rows from the top; {} keeps nothing).
  void ClearOutside(const D3DRECT& kept, uint32_t windowWidthPx, uint32_t windowHeightPx);
  void BindBackBufferForReading();  // the back buffer as GL_READ_FRAMEBUFFER, row 0 at the top
  float RenderStateFloat(D3DRENDERSTATETYPE state) const;
  // The horizon's keys: a render target by its texture's name, the back buffer and its depth buffer
  // beyond every name.
  static constexpr ClearHorizon::SurfaceKey kBackBufferKey = 1ull << 32, kDepthKey = 2ull << 32;
  ClearHorizon::SurfaceKey TargetKey() const;
  // A draw into the viewport, sampling texture (nullptr: none), as the horizon sees it.
  void NoteDraw(const GLTexture* texture);

  // The groups of GL state that ApplyState sets, as bits of staleGroups_.
  enum StateGroup : unsigned {
    kTransformGroup = 1,
    kLightingGroup = 2,
    kTextureStageGroup = 4,
    kFogGroup = 8,
    kRasterGroup = 16,
    kAllGroups = 31,
  };
  static unsigned GroupOf(D3DRENDERSTATETYPE state);

  std::shared_ptr<GLCore> core_;
  D3DCAPS8 caps_{};
  UINT backWidth_, backHeight_;
  GLuint colorBuffer_ = 0, depthBuffer_ = 0;  // the back buffer
  GLuint targetFbo_ = 0;                      // what is drawn into
  GLuint backFbo_ = 0;                        // the back buffer alone, for Present and reading
  GLSurface* backSurface_ = nullptr;
  GLSurface* target_ = nullptr;  // current render target, one reference held
  bool depthAttached_;

  DWORD renderStates_[D3DRS_COUNT] = {};
  DWORD stageStates_[D3DTSS_COUNT] = {};
  D3DMATRIX world_{}, view_{}, projection_{};
  D3DVIEWPORT8 viewport_{};
  D3DMATERIAL8 material_{};
  D3DLIGHT8 light_{};
  bool lightEnabled_ = false;         // Direct3D's lights start disabled; SetLight alone lights nothing
  GLVertexBuffer* stream_ = nullptr;  // one reference held
  UINT streamStride_ = 0;
  DWORD fvf_ = 0;
  GLTexture* texture_ = nullptr;  // one reference held
  std::vector<float> fogCoordinates_;
  std::vector<uint8_t> squares_;               // the corners of the point squares of one draw
  std::vector<float> squareUvs_;               // and their sprite texture coordinates
  GLuint screenQuadTexture_ = 0;               // the texture bound for the current run of screen quads
  unsigned staleGroups_ = kAllGroups;          // groups whose GL state no longer reflects the Direct3D state
  bool appliedEyeSpace_ = false;               // how the transforms were applied
  int appliedColourOffset_ = -1;               // what the applied lighting reads as vertex colour
  uint64_t seenTextureChanges_ = 0;            // GLCore::TextureChanges() when the groups were applied
  uint64_t seenPaints_ = 0;                    // and the window's WindowHost::PaintCount()
  GLuint attachedColour_ = 0;                  // the target's attachment as made: texture name, 0 the back buffer,
  bool attachedDepth_ = false;                 // with or without the depth buffer;
  bool attachmentKnown_ = false;               // false until made and after a texture change
  bool windowHoldsFormat_ = false;             // the window's buffers can hold the back buffer (see the top)
  bool frameBegun_ = true;                     // a clear or draw since the last Present (or creation)
  bool direct_ = false;                        // the back buffer is the window's, for this frame
  D3DRECT frameCover_{};                       // what this frame's clears and draws may have touched of it, if direct
  GLuint packBuffers_[2] = {};                 // pixel-pack buffers of the queued read-backs, made on first use
  unsigned queuedReads_ = 0, oldestRead_ = 0;  // how many are queued, and which buffer holds the oldest
  bool fastForward_ = false;
  ClearHorizon horizon_;
};
