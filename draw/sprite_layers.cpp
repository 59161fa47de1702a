#include "draw/sprite_layers.h"

#include <cmath>

#include "draw/draw_messages.h"
#include "draw/texture_number.h"
#include "scene/round.h"

namespace {

D3DCOLOR SpriteArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

// |Round(k × sin(t / 500))|: one colour channel throbbing with a period of about 1.6 s.
uint32_t Pulse(uint32_t k, double t) { return uint32_t(std::fabs(Round(k * std::sin(t / 500)))); }

}  // namespace

void DrawSprite(RenderState& state, IDirect3DTexture8* texture, D3DXVECTOR2 scaling, D3DXVECTOR2 translation,
                D3DXVECTOR2 rotationCenter, float rotationRadians, D3DCOLOR colour, std::string& errorText) {
  errorText.clear();
  if (state.sprite == nullptr) {
    errorText = kSpriteDrawFailedText;
    return;
  }
  state.sprite->Begin();
  if (FAILED(state.sprite->Draw(texture, nullptr, &scaling, &rotationCenter, rotationRadians, &translation, colour)))
    errorText = kSpriteDrawFailedText;
  state.sprite->End();
}

void DrawSpriteLayer(RenderState& state, uint8_t preset, uint8_t textureNumber, uint8_t alpha, float rotation,
                     float strechX, float strechY, float offsetX, float offsetY, float speed, uint32_t tMs) {
  if (preset > 3) preset = 0;
  IDirect3DTexture8* texture = TextureByNumber(state, textureNumber);
  const uint32_t w = state.ViewWidth, h = state.ViewHeight;
  const double t = tMs;
  const D3DXVECTOR2 scaling{float(w / 640.0 * strechX), float(h / 480.0 * strechY)};
  const double px = w * double(offsetX);
  const double py = h * double(offsetY) + state.CinemaBarHeight;
  const double ux = w / 100.0, uy = h / 100.0;
  if (alpha == 0) return;

  std::string ignored;
  auto draw = [&](double x, double y, D3DXVECTOR2 centre, double turn, D3DCOLOR colour) {
    DrawSprite(state, texture, scaling, {float(x), float(y)}, centre, float(turn), colour, ignored);
  };
  const D3DXVECTOR2 thirdCentre{float(w / 3), float(h / 2)};
  const D3DXVECTOR2 halfCentre{float(w / 2), float(h / 2)};
  const double swing = t * speed;
  switch (preset) {
    case 0: draw(px, py - t * speed * uy, thirdCentre, 0, SpriteArgb(alpha, Pulse(250, t), 200, 250)); break;
    case 1: draw(px + t * speed * ux, py, thirdCentre, 0, SpriteArgb(alpha, Pulse(250, t), 200, 250)); break;
    case 2:
      draw(px + Round(100 * std::sin(swing) * ux), py, halfCentre, 0, SpriteArgb(alpha, Pulse(250, t), 200, 150));
      draw(px + Round(100 * std::cos(swing) * ux) - 50 * ux, py, halfCentre, 0,
           SpriteArgb(alpha / 2, Pulse(250, t), 200, 150));
      break;
    default: {
      // A rotation divisor of 0 has no defined turning: the copies are drawn upright.
      const bool turns = rotation != 0;
      const double turn1 = turns ? std::sin(t / rotation) : 0;
      const double turn2 = turns ? std::cos(t / rotation) : 0;
      draw(px + Round(100 * std::cos(swing) * ux), py, halfCentre, turn1, SpriteArgb(alpha, 250, 230, Pulse(200, t)));
      draw(px + Round(100 * std::sin(swing) * ux), py, halfCentre, turn2, SpriteArgb(alpha, Pulse(250, t), 240, 230));
      break;
    }
  }
}
