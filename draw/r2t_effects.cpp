#include "draw/r2t_effects.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/sprite_layers.h"
#include "scene/round.h"
#include "scene/shared_random.h"

namespace {

D3DCOLOR EffectArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

// The sizes every copy is placed with; W, H and bar as the viewport and the top letterbox bar.
struct EffectFrame {
  RenderState& state;
  double w, h, bar;
  double sx0, sy0;  // scaling that makes the render target cover the viewport
  float rotation;
  D3DXVECTOR2 centre;  // rotation centre of most copies

  void Copy(double sx, double sy, double x, double y, D3DCOLOR colour) const {
    CopyTurned(sx, sy, x, y, centre, rotation, colour);
  }
  void CopyTurned(double sx, double sy, double x, double y, D3DXVECTOR2 about, float turn, D3DCOLOR colour) const {
    std::string ignored;
    DrawSprite(state, state.renderTargetTexture, {float(sx), float(sy)}, {float(x), float(y)}, about, turn, colour,
               ignored);
  }
};

void FullCopyAndStrip(const EffectFrame& f, uint32_t p, double sinA) {
  f.Copy(f.sx0, f.sy0, 0, f.bar, 0xFFFFFFFF);
  for (uint32_t j = 0; j <= p; ++j)
    f.Copy(f.sx0 / 4, f.sy0 / 4, 0, Round(30 * sinA) + j * f.h / 4,
           EffectArgb(180, 255, 255, f.state.random.Random(2) * 255));
}

// Every echo starts at the left edge and is at least 55/255 opaque. Echoes stretched to the right
// (divisor > 0, or past the mirror point when it is negative) grow with j, each covering all the
// earlier ones (with the same rotation about the same centre), so beneath kVisibleEchoes of them
// nothing shows any more (less than 1/512): only those are drawn. The shrinking echoes before the
// mirror point (at most 101) are all drawn.
constexpr uint32_t kVisibleEchoes = 32;

void StretchedEchoes(const EffectFrame& f, uint32_t p, double sinA) {
  const double divisor = 100 * sinA + 1;
  if (divisor == 0) return;  // no stretch defined at this phase: no echoes this frame
  const uint32_t shrinking = divisor < 0 ? uint32_t(std::min<double>(p, std::ceil(-divisor) - 1)) : 0;
  const uint32_t lastHidden = p > kVisibleEchoes ? p - kVisibleEchoes : 0;
  for (uint32_t j = 1; j <= p; ++j) {
    if (j > shrinking && j <= lastHidden) continue;
    f.Copy(f.sx0 + j * f.sx0 / divisor, f.sy0, 0, f.bar, EffectArgb(255 - 200 * j / p, 255, 255, 255));
  }
}

void Slices(const EffectFrame& f, uint32_t n, double sinA) {
  const uint32_t alpha = uint32_t(150 + Round(100 * sinA));
  for (uint32_t j = 0; j < n; ++j)
    f.Copy(f.sx0 / n, f.sy0, j * f.w / n, f.bar, EffectArgb(alpha, 255 - 100 * j / n, 255, 255));
}

// copies 5 (preset 3) or 9 (preset 4, each turned a quarter radian more than the one before).
void ZoomingEchoes(const EffectFrame& f, uint32_t q, uint32_t copies) {
  const D3DXVECTOR2 about{float(f.w / 1.5), float(f.h / 2)};
  const bool turning = copies == 9;
  for (uint32_t j = 0; j < copies; ++j) {
    const double zoomX = j * f.sx0 / q, zoomY = j * f.sy0 / q;
    const double x = 0 - Round(j * f.sx0 / (2.0 * q) * f.w);
    const double y = f.bar - Round(j * f.sy0 / (2.0 * q) * f.h);
    const uint32_t alpha = uint32_t(255 - Round(double(j) / (copies - 1) * 200));
    const float turn = turning ? float(f.rotation + j / 4.0) : f.rotation;
    f.CopyTurned(f.sx0 + zoomX, f.sy0 + zoomY, x, y, about, turn, EffectArgb(alpha, 255, 255, 255));
  }
}

// One Begin/End around the whole grid, then the translucent full copy.
void TilesAndOverlay(const EffectFrame& f, uint32_t n) {
  ID3DXSprite* sprite = f.state.sprite;
  if (sprite != nullptr) {
    sprite->Begin();
    const D3DXVECTOR2 scaling{float(f.sx0 / n), float(f.sy0 / n)};
    for (uint32_t r = 0; r < n; ++r) {
      for (uint32_t c = 0; c < n; ++c) {
        const D3DXVECTOR2 translation{float(c * f.w / n), float(r * f.h / n + f.bar)};
        sprite->Draw(f.state.renderTargetTexture, nullptr, &scaling, &f.centre, f.rotation, &translation,
                     EffectArgb(255 - 100 * r / n, 255 - 100 * c / n, 255, 255));
      }
    }
    sprite->End();
  }
  f.Copy(f.sx0, f.sy0, 0, f.bar, EffectArgb(150, 255, 255, 255));
}

}  // namespace

void DrawR2TEffect(RenderState& state, uint8_t preset, uint16_t power, float rotation, float speed, uint32_t tMs) {
  if (preset > 5) preset = 0;
  const double w = state.ViewWidth, h = state.ViewHeight;
  const double rw = std::max<uint16_t>(state.renderTargetWidth, 1),
               rh = std::max<uint16_t>(state.renderTargetHeight, 1);
  const EffectFrame f{state,  w,      h,        double(state.CinemaBarHeight),
                      w / rw, h / rh, rotation, {float(w / 3), float(h / 2)}};
  // A speed that leaves the phase no finite number (infinite, or not a number) draws at phase 0.
  const double a = double(tMs) / (100.0 * speed + 1);
  const double sinA = std::isfinite(a) ? std::sin(a) : 0.0;
  const uint32_t p = power;
  const uint32_t atLeastOne = std::max<uint32_t>(p, 1);
  switch (preset) {
    case 0: FullCopyAndStrip(f, p, sinA); break;
    case 1: StretchedEchoes(f, p, sinA); break;
    case 2: Slices(f, atLeastOne, sinA); break;
    case 3: ZoomingEchoes(f, atLeastOne, 5); break;
    case 4: ZoomingEchoes(f, atLeastOne, 9); break;
    default: TilesAndOverlay(f, std::min(atLeastOne, kMaxTileGridSide)); break;
  }
}
