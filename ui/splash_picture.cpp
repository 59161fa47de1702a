#include "ui/splash_picture.h"

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
  double r, g, b;  // 0..1, may exceed 1 before clamping
};

uint8_t Byte(double value) { return static_cast<uint8_t>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5); }

// Rings of a tunnel seen from inside: depth grows towards the centre, colour cycles with depth.
Colour Tunnel(double x, double y) {
  const double radius = std::max(std::hypot(x, y), 0.02);
  const double depth = 0.35 / radius;
  const double angle = std::atan2(y, x);
  const double ring = 0.5 + 0.5 * std::cos(depth * 9.0 + 3.0 * std::sin(angle * 3.0));
  const double glow = std::pow(ring, 6.0) * std::min(1.0, radius * 1.6);
  return {0.05 + glow * (0.6 + 0.4 * std::sin(depth)), 0.03 + glow * 0.35, 0.12 + glow * 0.95};
}

// A lit sphere of the given radius in the middle; returns false outside it.
bool Sphere(double x, double y, Colour& colour, double radius = 0.42) {
  const double r2 = (x * x + y * y) / (radius * radius);
  if (r2 > 1.0) return false;
  const double nx = x / radius, ny = y / radius, nz = std::sqrt(1.0 - r2);
  const double lx = -0.5, ly = -0.6, lz = 0.62;  // light from the upper left, normalised
  const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
  const double highlight = std::pow(std::max(0.0, 2.0 * diffuse * nz - lz), 24.0);
  const double band = 0.5 + 0.5 * std::sin(ny * 14.0 + nx * 4.0);
  colour = {0.08 + diffuse * (0.85 + 0.15 * band) + highlight, 0.05 + diffuse * (0.35 + 0.3 * band) + highlight,
            0.10 + diffuse * 0.25 + highlight};
  return true;
}

}  // namespace

std::vector<uint8_t> SplashPicture() {
  std::vector<uint8_t> pixels;
  pixels.reserve(kSplashSizePx * kSplashSizePx * 3);
  for (int row = 0; row < kSplashSizePx; ++row) {
    for (int column = 0; column < kSplashSizePx; ++column) {
      const double x = (column + 0.5) / kSplashSizePx * 2.0 - 1.0;
      const double y = (row + 0.5) / kSplashSizePx * 2.0 - 1.0;
      Colour colour = Tunnel(x, y);
      Colour sphere{};
      if (Sphere(x, y, sphere)) colour = sphere;
      pixels.push_back(Byte(colour.r));
      pixels.push_back(Byte(colour.g));
      pixels.push_back(Byte(colour.b));
    }
  }
  return pixels;
}

namespace {

// The small icon's ground: deep blue, one glowing ring around the sphere.
Colour SmallGround(double x, double y) {
  const double ring = std::exp(-std::pow((std::hypot(x, y) - 0.8) / 0.07, 2.0));
  return {0.05 + ring * 0.6, 0.03 + ring * 0.35, 0.14 + ring * 0.95};
}

// Whether (x, y) lies inside the square -1..1 with corners rounded at radius 0.3.
bool InsideRoundedSquare(double x, double y) {
  constexpr double kCorner = 0.3;
  const double dx = std::max(std::fabs(x) - (1.0 - kCorner), 0.0), dy = std::max(std::fabs(y) - (1.0 - kCorner), 0.0);
  return dx * dx + dy * dy <= kCorner * kCorner;
}

}  // namespace

std::vector<uint8_t> IconPicture(int sizePx) {
  constexpr int kSamples = 4;
  const bool small = sizePx < 48;
  std::vector<uint8_t> pixels;
  pixels.reserve(static_cast<size_t>(sizePx) * sizePx * 4);
  for (int row = 0; row < sizePx; ++row) {
    for (int column = 0; column < sizePx; ++column) {
      Colour sum{};
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (column + (sx + 0.5) / kSamples) / sizePx * 2.0 - 1.0;
          const double y = (row + (sy + 0.5) / kSamples) / sizePx * 2.0 - 1.0;
          if (!InsideRoundedSquare(x, y)) continue;
          Colour colour = small ? SmallGround(x, y) : Tunnel(x, y);
          Colour sphere{};
          if (Sphere(x, y, sphere, small ? 0.6 : 0.42)) colour = sphere;
          sum = {sum.r + std::clamp(colour.r, 0.0, 1.0), sum.g + std::clamp(colour.g, 0.0, 1.0),
                 sum.b + std::clamp(colour.b, 0.0, 1.0)};
          ++inside;
        }
      }
      const double share = inside ? 1.0 / inside : 0.0;
      pixels.push_back(Byte(sum.r * share));
      pixels.push_back(Byte(sum.g * share));
      pixels.push_back(Byte(sum.b * share));
      pixels.push_back(Byte(static_cast<double>(inside) / (kSamples * kSamples)));
    }
  }
  return pixels;
}
