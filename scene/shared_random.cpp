#include "scene/shared_random.h"

#include <mutex>
#include <random>

namespace {
// Drawing threads (the timeline's pictures) share it with the frame loop.
std::mutex generatorMutex;

std::mt19937_64& Generator() {
  static std::mt19937_64 generator(0x717561726E656CULL);
  return generator;
}
}  // namespace

void SeedRandom(uint64_t seed) {
  std::lock_guard lock(generatorMutex);
  Generator().seed(seed);
}

uint32_t Random(uint32_t n) {
  if (n == 0) return 0;
  std::lock_guard lock(generatorMutex);
  return std::uniform_int_distribution<uint32_t>(0, n - 1)(Generator());
}

double RandomReal() {
  std::lock_guard lock(generatorMutex);
  return std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
}
