#pragma once
// What our devices offer beyond Direct3D 8, for D3DX and for tests; both devices implement it.
#include "gpu/d3dx8.h"
#include "gpu/rgba_image.h"

class DeviceExtras {
 public:
  virtual HRESULT CreateSprite(ID3DXSprite** sprite) = 0;
  // The back buffer's pixels, row 0 at the top; false when the device cannot read them.
  virtual bool ReadBackBuffer(RgbaImage& image) = 0;
  // The same pixels in two steps, so that drawing the next frame overlaps the copy: QueueReadBack
  // starts copying the back buffer as it is now (at most two copies are queued; false when no more can
  // be, or the device cannot read); TakeReadBack hands out the oldest queued copy, waiting for it
  // (false when none is queued).
  virtual bool QueueReadBack() = 0;
  virtual bool TakeReadBack(RgbaImage& image) = 0;

  // Fast-forward (set between frames): clears, draws, sprite quads and the wait at Present are skipped,
  // while everything else goes on as in drawing (every state, texture and render-target creation), so
  // a pass over frames costs little more than the caller's own work.
  virtual void SetFastForward(bool on) = 0;
  // The latest frame (counted in Presents from 0 at creation) from which drawing every frame for real,
  // the ones before it fast-forwarded, gives the frame presented last exactly as drawing every frame
  // does (see gpu/clear_horizon.h).
  virtual uint64_t LatestRealStart() const = 0;

 protected:
  ~DeviceExtras() = default;
};

inline DeviceExtras* ExtrasOf(IDirect3DDevice8* device) { return dynamic_cast<DeviceExtras*>(device); }
