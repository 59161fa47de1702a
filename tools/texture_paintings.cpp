#include "tools/texture_paintings.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/noise.h"
#include "tools/stroke_font.h"

// Painters work in linear 0..1 colour on texture coordinates u, v in [0, 1) (pixel centres, v down).
// Tiling painters use whole periods in u and v so that the texture repeats without seams.
namespace {

constexpr float kPiF = 3.14159265f;
constexpr float kTwoPi = 2.0f * kPiF;

struct Rgb {
  float r, g, b;
};

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb Mix(Rgb a, Rgb b, float t) { return a * (1.0f - t) + b * t; }

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// Cosine palette: 0.5 + 0.5 cos(2 pi (t + phase)) per channel.
Rgb Palette(float t, Rgb phase) {
  return {0.5f + 0.5f * std::cos(kTwoPi * (t + phase.r)), 0.5f + 0.5f * std::cos(kTwoPi * (t + phase.g)),
          0.5f + 0.5f * std::cos(kTwoPi * (t + phase.b))};
}

uint8_t ToByte(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

// How a finished colour becomes a texel.
enum class Finish {
  opaque,  // pure black is lifted to (1, 1, 1) so that nothing turns see-through
  keyed,   // very dark texels (below 8/255 in every channel, black at 16 bits per texel anyway) become
           // pure black, i.e. see-through
};

template <typename Shader>
Image Paint(int sizePx, Finish finish, Shader shader) {
  Image image = MakeImage(sizePx, sizePx);
  for (int y = 0; y < sizePx; ++y) {
    for (int x = 0; x < sizePx; ++x) {
      const Rgb c = shader((x + 0.5f) / sizePx, (y + 0.5f) / sizePx);
      uint8_t* texel = &image.rgb[(static_cast<size_t>(y) * sizePx + x) * 3];
      texel[0] = ToByte(c.r);
      texel[1] = ToByte(c.g);
      texel[2] = ToByte(c.b);
      const int brightest = std::max({texel[0], texel[1], texel[2]});
      if (finish == Finish::opaque && brightest == 0) texel[0] = texel[1] = texel[2] = 1;
      if (finish == Finish::keyed && brightest < 8) texel[0] = texel[1] = texel[2] = 0;
    }
  }
  return image;
}

// Distance from the texture centre, 1 at the middle of an edge.
float Radius(float u, float v) { return 2.0f * std::hypot(u - 0.5f, v - 0.5f); }

Image PaintPlasma(int sizePx) {
  return Paint(sizePx, Finish::opaque, [](float u, float v) {
    const float p = std::sin(kTwoPi * 2.0f * u) + std::sin(kTwoPi * (3.0f * v + 0.4f * std::sin(kTwoPi * u))) +
                    std::sin(kTwoPi * (u + 2.0f * v)) + std::sin(kTwoPi * (3.0f * u - v + 0.3f * std::cos(kTwoPi * v)));
    return Palette(p * 0.22f, {0.0f, 0.33f, 0.67f}) * 0.85f + Rgb{0.08f, 0.05f, 0.12f};
  });
}

Image PaintRings(int sizePx) {
  return Paint(sizePx, Finish::keyed, [](float u, float v) {
    const float r = Radius(u, v);
    const float band = std::pow(0.5f + 0.5f * std::cos(kTwoPi * 6.5f * r), 8.0f);
    const float fade = 1.0f - SmoothStep(0.82f, 0.98f, r);
    const float core = std::exp(-r * r * 90.0f);
    const Rgb hue = Palette(r * 0.9f + 0.55f, {0.0f, 0.25f, 0.55f});
    return (hue * band + Rgb{1, 1, 1} * std::pow(band, 6.0f) * 0.5f) * fade + Rgb{1.0f, 0.9f, 0.8f} * core;
  });
}

Image PaintStars(int sizePx) {
  struct Star {
    float x, y, brightness, sigmaPx;
    Rgb tint;
    bool flare;
  };
  std::vector<Star> stars;
  const Rgb tints[] = {{0.75f, 0.85f, 1.0f}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.9f, 0.7f}, {0.9f, 0.75f, 1.0f}};
  for (int i = 0; i < 260; ++i) {
    const float luck = HashUnit(i, 3, 21);
    stars.push_back({HashUnit(i, 0, 21) * sizePx, HashUnit(i, 1, 21) * sizePx, 0.35f + 0.65f * luck * luck,
                     0.45f + 1.1f * luck * luck * luck, tints[Hash3(i, 2, 21) % 4], i < 7});
  }
  std::vector<Rgb> light(static_cast<size_t>(sizePx) * sizePx, Rgb{0, 0, 0});
  for (const Star& star : stars) {
    const int reachPx = star.flare ? 24 : 5;
    for (int dy = -reachPx; dy <= reachPx; ++dy) {
      for (int dx = -reachPx; dx <= reachPx; ++dx) {
        const int px = static_cast<int>(star.x) + dx, py = static_cast<int>(star.y) + dy;
        const float ox = px + 0.5f - star.x, oy = py + 0.5f - star.y;
        float glow = std::exp(-(ox * ox + oy * oy) / (2.0f * star.sigmaPx * star.sigmaPx));
        if (star.flare)
          glow += 0.5f * (std::exp(-std::fabs(ox) / 5.0f - oy * oy * 2.0f) +
                          std::exp(-std::fabs(oy) / 5.0f - ox * ox * 2.0f)) +
                  0.2f * std::exp(-std::hypot(ox, oy) / 4.0f);
        Rgb& texel = light[static_cast<size_t>((py + sizePx) % sizePx) * sizePx + (px + sizePx) % sizePx];
        texel = texel + star.tint * (glow * star.brightness);
      }
    }
  }
  return Paint(sizePx, Finish::keyed, [&](float u, float v) {
    const float nebula = std::max(0.0f, FractalNoise(u * 4.0f, v * 4.0f, 4, 5, 22) - 0.58f) * 2.5f;
    const Rgb haze = Mix(Rgb{0.25f, 0.05f, 0.45f}, Rgb{0.05f, 0.3f, 0.6f}, FractalNoise(u * 2.0f, v * 2.0f, 2, 3, 23));
    const int x = static_cast<int>(u * sizePx), y = static_cast<int>(v * sizePx);
    return light[static_cast<size_t>(y) * sizePx + x] + haze * nebula;
  });
}

Image PaintWarmGlow(int sizePx) {
  return Paint(sizePx, Finish::keyed, [](float u, float v) {
    const float r = Radius(u, v);
    const float halo = std::pow(std::max(0.0f, 1.0f - r), 2.5f);
    const float core = std::exp(-r * r * 40.0f);
    return Rgb{1.0f, 0.5f, 0.12f} * halo + Rgb{1.0f, 0.95f, 0.8f} * core;
  });
}

Image PaintClouds(int sizePx) {
  return Paint(sizePx, Finish::opaque, [](float u, float v) {
    const float n = FractalNoise(u * 4.0f, v * 4.0f, 4, 6, 41);
    const Rgb sky = Mix(Rgb{0.05f, 0.12f, 0.42f}, Rgb{0.2f, 0.45f, 0.85f}, v);
    return Mix(sky, Rgb{1.0f, 0.97f, 0.95f}, SmoothStep(0.42f, 0.75f, n));
  });
}

Image PaintStripes(int sizePx) {
  const Rgb colours[4] = {{1.0f, 0.15f, 0.6f}, {1.0f, 0.6f, 0.1f}, {0.1f, 0.85f, 1.0f}, {0.5f, 1.0f, 0.2f}};
  return Paint(sizePx, Finish::keyed, [&](float u, float v) {
    const float position = (u + v) * 4.0f;
    const int band = static_cast<int>(std::floor(position)) % 4;
    const float across = position - std::floor(position);
    const float tube = std::sin(kPiF * SmoothStep(0.12f, 0.88f, across));
    return colours[band] * std::pow(tube, 1.5f) + Rgb{1, 1, 1} * (std::pow(tube, 12.0f) * 0.35f);
  });
}

Image PaintLogo(int sizePx) {
  const char* text = "quarnel";
  const float unitPx = sizePx * 0.78f / StrokeTextWidth(text);
  const float penPx = 0.12f * unitPx;
  const float leftPx = 0.5f * (sizePx - StrokeTextWidth(text) * unitPx);
  const float baselinePx = 0.5f * sizePx + 0.25f * unitPx;  // centres the x-height with a little room below
  return Paint(sizePx, Finish::keyed, [=](float u, float v) {
    const float xPx = u * sizePx, yPx = v * sizePx;
    const float toLetterPx = StrokeTextDistance(text, (xPx - leftPx) / unitPx, (baselinePx - yPx) / unitPx) * unitPx;
    const float mirrorY = 2.0f * (baselinePx + 0.6f * unitPx) - yPx;  // reflection below the descenders
    const float toMirrorPx =
        StrokeTextDistance(text, (xPx - leftPx) / unitPx, (baselinePx - mirrorY) / unitPx) * unitPx;
    const Rgb hue = Mix(Rgb{1.0f, 0.2f, 0.65f}, Rgb{0.15f, 0.8f, 1.0f},
                        std::clamp((xPx - leftPx) / (sizePx - 2 * leftPx), 0.0f, 1.0f));
    const float fill = 1.0f - SmoothStep(penPx - 0.8f, penPx + 0.8f, toLetterPx);
    const float glow = std::exp(-std::max(0.0f, toLetterPx - penPx) / (0.25f * unitPx));
    const float mirrorDepth = std::max(0.0f, 1.0f - (yPx - (baselinePx + 0.6f * unitPx)) / (1.6f * unitPx));
    const float mirror = (yPx > baselinePx + 0.6f * unitPx)
                             ? (1.0f - SmoothStep(penPx - 0.8f, penPx + 0.8f, toMirrorPx)) * 0.35f * mirrorDepth
                             : 0.0f;
    const float streak =
        std::exp(-std::pow((yPx - (baselinePx - 0.5f * unitPx)) / (0.05f * unitPx), 2.0f)) *
        std::pow(std::max(0.0f, 1.0f - std::pow((xPx - 0.5f * sizePx) / (0.45f * sizePx), 2.0f)), 2.0f) * 0.5f;
    return Mix(hue, Rgb{1, 1, 1}, 0.55f) * fill + hue * (0.55f * glow * (1.0f - fill)) + hue * mirror +
           Rgb{0.8f, 0.9f, 1.0f} * streak;
  });
}

Image PaintSparkle(int sizePx) {
  return Paint(sizePx, Finish::keyed, [](float u, float v) {
    const float x = 2.0f * (u - 0.5f), y = 2.0f * (v - 0.5f);
    const float r = std::hypot(x, y);
    const float edge = 1.0f - SmoothStep(0.6f, 1.0f, r);
    const float cross = std::exp(-std::fabs(x) * 90.0f) + std::exp(-std::fabs(y) * 90.0f);
    const float diagonal = std::exp(-std::fabs(x - y) * 60.0f) + std::exp(-std::fabs(x + y) * 60.0f);
    const float spikes = (cross * 0.8f + diagonal * 0.3f) * std::pow(std::max(0.0f, 1.0f - r), 2.0f);
    const float core = std::exp(-r * r * 60.0f);
    const float halo = std::pow(std::max(0.0f, 1.0f - r), 3.0f) * 0.45f;
    return (Rgb{0.3f, 0.7f, 1.0f} * (halo + spikes) + Rgb{0.9f, 0.97f, 1.0f} * core) * edge;
  });
}

Image PaintLava(int sizePx) {
  return Paint(sizePx, Finish::opaque, [](float u, float v) {
    const float warpX = FractalNoise(u * 3.0f, v * 3.0f, 3, 4, 81);
    const float warpY = FractalNoise(u * 3.0f, v * 3.0f, 3, 4, 82);
    const float n = FractalNoise(u * 4.0f + 2.0f * warpX, v * 4.0f + 2.0f * warpY, 4, 5, 83);
    const float crack = std::pow(1.0f - std::fabs(2.0f * n - 1.0f), 6.0f);  // glowing veins where n is near 0.5
    const float crust = FractalNoise(u * 8.0f, v * 8.0f, 8, 3, 84) * 0.12f;
    const float t = std::clamp(crack * 1.2f + crust, 0.0f, 1.0f);
    return Rgb{0.06f + 1.1f * t, 0.02f + std::pow(t, 2.0f) * 0.85f, std::pow(t, 5.0f) * 0.6f};
  });
}

Image PaintNeonGrid(int sizePx) {
  const int cells = 8;
  return Paint(sizePx, Finish::opaque, [=](float u, float v) {
    const float cx = u * cells, cy = v * cells;
    const int ix = static_cast<int>(cx), iy = static_cast<int>(cy);
    const float fx = cx - ix, fy = cy - iy;
    const float toLine = std::min({fx, 1.0f - fx, fy, 1.0f - fy}) * sizePx / cells;
    const float lit = HashUnit(ix, iy, 91) < 0.22f ? 1.0f : 0.0f;
    const Rgb line = Mix(Rgb{0.1f, 0.9f, 1.0f}, Rgb{1.0f, 0.2f, 0.8f}, 0.5f + 0.5f * std::sin(kTwoPi * (u + v)));
    const Rgb tile = Mix(Rgb{0.03f, 0.02f, 0.1f}, Rgb{0.1f, 0.04f, 0.22f}, fy) + line * (lit * 0.3f * (1.0f - fy));
    return tile + line * std::exp(-toLine / 1.8f) + Rgb{1, 1, 1} * (std::exp(-toLine / 0.6f) * 0.4f);
  });
}

const TextureRecipe kRecipes[] = {
    {256, Backdrop::opaque, "plasma: flowing rainbow bands, opaque, tiles; object, planes, full-screen sprites",
     PaintPlasma},
    {256, Backdrop::clearBorder,
     "rings: concentric rainbow rings with a bright dot, see-through between; sprites, particles", PaintRings},
    {256, Backdrop::partlySeeThrough,
     "stars: star field with flares and faint nebula, see-through sky, tiles; scrolling sprites", PaintStars},
    {256, Backdrop::clearBorder,
     "warm glow: white-hot centre fading to orange and a black edge; particles, light sprites", PaintWarmGlow},
    {256, Backdrop::opaque, "clouds: white clouds on a blue sky, opaque, tiles; object, planes, backgrounds",
     PaintClouds},
    {256, Backdrop::partlySeeThrough,
     "stripes: diagonal neon tubes (pink, orange, cyan, lime), see-through gaps, tiles; object, sprites", PaintStripes},
    {256, Backdrop::clearBorder,
     "logo: the word \"quarnel\" in glowing pink-to-cyan letters with a reflection, see-through; sprites", PaintLogo},
    {128, Backdrop::clearBorder, "sparkle: small blue-white star with cross spikes, black edge; particles",
     PaintSparkle},
    {256, Backdrop::opaque, "lava: dark red to yellow molten noise, opaque, tiles; object, planes", PaintLava},
    {256, Backdrop::opaque,
     "neon grid: dark violet tiles with glowing cyan-magenta lines, opaque, tiles; object, planes", PaintNeonGrid},
};

}  // namespace

int TextureRecipeCount() { return static_cast<int>(std::size(kRecipes)); }

const TextureRecipe& GetTextureRecipe(int number) { return kRecipes[number]; }
