#pragma once
// The clear horizon of a device that fast-forwards: which frame it can start drawing for real from so
// that every later frame shows exactly what it shows when every frame is drawn.
//
// A fast-forwarded clear or draw leaves pixels that are not what drawing would have left: they are
// stale. A frame F is a start for real drawing when, drawn for real after frames that were all
// fast-forwarded, no stale pixel is read (blended over, sampled, presented) before a clear has
// overwritten it, in F or in any frame after it up to the one wanted. The horizon follows each frame as
// such a candidate at once, so a pass that fast-forwards to a frame knows the latest start from which
// that frame comes out exact. Frame 0 (nothing stale yet) is always one.
//
// Pixels are tracked per surface as one rectangle that holds all stale ones (more is never wrong, only
// less often a start); a clear must contain a surface's rectangle to make it fresh. Surfaces are keyed
// by the caller (a texture's name, the back buffer, the depth buffer).
#include <cstdint>
#include <map>
#include <vector>

#include "gpu/d3d8.h"

class ClearHorizon {
 public:
  using SurfaceKey = uint64_t;

  // A surface as creation leaves it, or gone for good (nothing reads it again): nothing of it is stale.
  void Fresh(SurfaceKey surface);
  // A clear of rect of surface; drawn: for real (else fast-forwarded).
  void Cleared(SurfaceKey surface, const D3DRECT& rect, bool drawn);
  // A draw into rect of surface, which blends over what lies there.
  void DrawnInto(SurfaceKey surface, const D3DRECT& rect, bool drawn);
  // The whole surface read: sampled as a texture, presented.
  void Read(SurfaceKey surface);
  // The frame ends (Present): frames are counted from 0 at creation.
  void EndFrame();

  // The latest frame, up to the last one ended, from which drawing every frame for real gives the
  // last ended frame exactly as drawing every frame from the start does.
  uint64_t LatestStart() const { return latestStart_; }

 private:
  using Rects = std::map<SurfaceKey, D3DRECT>;  // non-empty rectangles only
  struct Candidate {
    uint64_t frame;
    Rects pending;  // stale pixels that would remain, had drawing been for real from the frame on
  };
  static void Add(Rects& rects, SurfaceKey surface, const D3DRECT& rect);
  static void ClearWithin(Rects& rects, SurfaceKey surface, const D3DRECT& rect);
  static bool Meets(const Rects& rects, SurfaceKey surface, const D3DRECT* rect);
  void BeginCandidate();

  uint64_t frame_ = 0, latestStart_ = 0;
  Rects stale_;                                 // what the device's surfaces hold that drawing would not have left
  std::vector<Candidate> candidates_{{0, {}}};  // oldest first; none with the same pending as a later one
};
