#pragma once
// The program's pseudo-random generators. Each drawer (the output, the export, each thumbnail) owns a
// RandomStream, so what one draws never depends on when another drew; the randomizer of the tweak
// window draws from the one shared stream.
#include <cstdint>
#include <random>

inline constexpr uint64_t kRepeatableSeed = 1;

class RandomStream {
 public:
  RandomStream() : generator_(kRepeatableSeed) {}
  explicit RandomStream(uint64_t seed) : generator_(seed) {}
  // Restarts the sequence.
  void Seed(uint64_t seed) { generator_.seed(seed); }
  // A uniform integer 0..n-1; 0 when n is 0.
  uint32_t Random(uint32_t n) { return n == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, n - 1)(generator_); }
  // A uniform real in [0, 1).
  double RandomReal() { return std::uniform_real_distribution<double>(0.0, 1.0)(generator_); }

 private:
  std::mt19937_64 generator_;
};

// The shared stream (safe to use from any thread). The program seeds it from the clock at start-up;
// tests and a frame-stepped run seed it with kRepeatableSeed.
void SeedRandom(uint64_t seed);
uint32_t Random(uint32_t n);
double RandomReal();
