#include "scene/shared_random.h"

#include <mutex>

namespace {
// Process-wide (README, "Process-wide state"): the randomizer's stream, behind its lock.
std::mutex sharedMutex;

RandomStream& Shared() {
  static RandomStream stream(0x717561726E656CULL);
  return stream;
}
}  // namespace

void SeedRandom(uint64_t seed) {
  std::lock_guard lock(sharedMutex);
  Shared().Seed(seed);
}

uint32_t Random(uint32_t n) {
  std::lock_guard lock(sharedMutex);
  return Shared().Random(n);
}

double RandomReal() {
  std::lock_guard lock(sharedMutex);
  return Shared().RandomReal();
}
