#include "tools/noise.h"

#include <cmath>

uint32_t Hash3(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float HashUnit(int32_t x, int32_t y, uint32_t seed) { return static_cast<float>(Hash3(x, y, seed) >> 8) / 16777216.0f; }

namespace {

int Wrap(int value, int period) { return ((value % period) + period) % period; }

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

}  // namespace

float ValueNoise(float x, float y, int periodCells, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = Wrap(static_cast<int>(fx), periodCells);
  const int y0 = Wrap(static_cast<int>(fy), periodCells);
  const int x1 = Wrap(x0 + 1, periodCells);
  const int y1 = Wrap(y0 + 1, periodCells);
  const float tx = Smooth(x - fx);
  const float ty = Smooth(y - fy);
  const float top = HashUnit(x0, y0, seed) + (HashUnit(x1, y0, seed) - HashUnit(x0, y0, seed)) * tx;
  const float bottom = HashUnit(x0, y1, seed) + (HashUnit(x1, y1, seed) - HashUnit(x0, y1, seed)) * tx;
  return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, int periodCells, int octaves, uint32_t seed) {
  float sum = 0.0f;
  float weight = 0.5f;
  float total = 0.0f;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x, y, periodCells, seed + octave) * weight;
    total += weight;
    x *= 2.0f;
    y *= 2.0f;
    periodCells *= 2;
    weight *= 0.5f;
  }
  return sum / total;
}
