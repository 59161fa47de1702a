#include "draw/render_state.h"

#include "gpu/ref_counted.h"

uint16_t R2tMaxSizeFor(uint16_t viewWidthPx) {
  if (viewWidthPx <= 400) return 256;
  if (viewWidthPx <= 640) return 512;
  if (viewWidthPx <= 1280) return 1024;
  return 2048;
}

void ReleaseRenderObjects(RenderState& state) {
  ReleaseReference(state.renderTargetSurface);
  ReleaseReference(state.savedBackBufferSurface);
  ReleaseReference(state.renderTargetTexture);
  for (IDirect3DTexture8*& texture : state.textures) ReleaseReference(texture);
  state.textures.clear();
  ReleaseReference(state.sprite);
  ReleaseReference(state.mainVertexBuffer);
  ReleaseReference(state.particleVertexBuffer);
  ReleaseReference(state.device);
  ReleaseReference(state.d3d);
}
