#include "gpu/clear_horizon.h"

#include <algorithm>

namespace {

bool Empty(const D3DRECT& r) { return r.x2 <= r.x1 || r.y2 <= r.y1; }

bool Contains(const D3DRECT& outer, const D3DRECT& inner) {
  return outer.x1 <= inner.x1 && outer.y1 <= inner.y1 && outer.x2 >= inner.x2 && outer.y2 >= inner.y2;
}

bool Overlap(const D3DRECT& a, const D3DRECT& b) {
  return std::max(a.x1, b.x1) < std::min(a.x2, b.x2) && std::max(a.y1, b.y1) < std::min(a.y2, b.y2);
}

bool Same(const D3DRECT& a, const D3DRECT& b) { return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2; }

}  // namespace

void ClearHorizon::Add(Rects& rects, SurfaceKey surface, const D3DRECT& rect) {
  if (Empty(rect)) return;
  const auto [at, added] = rects.emplace(surface, rect);
  if (added) return;
  D3DRECT& r = at->second;
  r = {std::min(r.x1, rect.x1), std::min(r.y1, rect.y1), std::max(r.x2, rect.x2), std::max(r.y2, rect.y2)};
}

void ClearHorizon::ClearWithin(Rects& rects, SurfaceKey surface, const D3DRECT& rect) {
  const auto at = rects.find(surface);
  if (at != rects.end() && Contains(rect, at->second)) rects.erase(at);
}

// Whether stale pixels of surface lie in rect (the whole surface without one).
bool ClearHorizon::Meets(const Rects& rects, SurfaceKey surface, const D3DRECT* rect) {
  const auto at = rects.find(surface);
  return at != rects.end() && (rect == nullptr || Overlap(at->second, *rect));
}

void ClearHorizon::Fresh(SurfaceKey surface) {
  stale_.erase(surface);
  for (Candidate& candidate : candidates_) candidate.pending.erase(surface);
}

void ClearHorizon::Cleared(SurfaceKey surface, const D3DRECT& rect, bool drawn) {
  for (Candidate& candidate : candidates_) ClearWithin(candidate.pending, surface, rect);
  if (drawn) ClearWithin(stale_, surface, rect);
  else Add(stale_, surface, rect);
}

void ClearHorizon::DrawnInto(SurfaceKey surface, const D3DRECT& rect, bool drawn) {
  std::erase_if(candidates_, [&](const Candidate& c) { return Meets(c.pending, surface, &rect); });
  if (!drawn) Add(stale_, surface, rect);
}

void ClearHorizon::Read(SurfaceKey surface) {
  std::erase_if(candidates_, [&](const Candidate& c) { return Meets(c.pending, surface, nullptr); });
}

void ClearHorizon::EndFrame() {
  // Of the candidates that lived through the frame, the latest (one always does: nothing is pending
  // for the oldest, or for a later one that took its place).
  latestStart_ = 0;
  for (const Candidate& candidate : candidates_) latestStart_ = std::max(latestStart_, candidate.frame);
  ++frame_;
  BeginCandidate();
}

// The next frame as a start: what is stale now would be pending. Candidates with the same pending
// pixels go on alike from here, so of them only the latest is kept.
void ClearHorizon::BeginCandidate() {
  candidates_.push_back({frame_, stale_});
  const auto same = [](const Rects& a, const Rects& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
             return x.first == y.first && Same(x.second, y.second);
           });
  };
  std::vector<Candidate> kept;
  for (size_t i = 0; i < candidates_.size(); ++i) {
    bool later = false;
    for (size_t j = i + 1; j < candidates_.size() && !later; ++j)
      later = same(candidates_[i].pending, candidates_[j].pending);
    if (!later) kept.push_back(std::move(candidates_[i]));
  }
  candidates_ = std::move(kept);
}
