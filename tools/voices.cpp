#include "tools/voices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// Time inside a note is t seconds from its start; oscillator phases run 0..1.
namespace {

constexpr double kPi = 3.14159265358979;
constexpr float kFrameSec = 1.0f / kSampleRateHz;

float MidiHz(float midiNote) { return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f); }

// Deterministic white noise in [-1, 1].
struct Noise {
  uint32_t state;
  explicit Noise(size_t seed) : state(static_cast<uint32_t>(seed * 2654435761u) | 1u) {}
  float Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
  }
};

// Sawtooth with polyBLEP smoothing of its jump, so high notes do not alias harshly.
struct Saw {
  double phase = 0.0;
  float Next(float hz) {
    const double step = hz * kFrameSec;
    phase += step;
    phase -= std::floor(phase);
    double blep = 0.0;
    if (phase < step) {
      const double x = phase / step;
      blep = x + x - x * x - 1.0;
    } else if (phase > 1.0 - step) {
      const double x = (phase - 1.0) / step;
      blep = x * x + x + x + 1.0;
    }
    return static_cast<float>(2.0 * phase - 1.0 - blep);
  }
};

struct Sine {
  double phase = 0.0;
  float Next(float hz) {
    phase += hz * kFrameSec;
    phase -= std::floor(phase);
    return static_cast<float>(std::sin(2.0 * kPi * phase));
  }
};

// State-variable filter run twice per frame (stable up to about 14 kHz). damping 0.1 (ringing) .. 2.
struct Filter {
  float low = 0.0f, band = 0.0f, high = 0.0f;
  void Run(float in, float cutoffHz, float damping) {
    const float f = 2.0f * static_cast<float>(std::sin(kPi * std::min(cutoffHz, 14000.0f) / (2.0 * kSampleRateHz)));
    for (int pass = 0; pass < 2; ++pass) {
      high = in - low - damping * band;
      band += f * high;
      low += f * band;
    }
  }
};

// Metallic tone of six detuned square waves (the classic drum-machine cymbal recipe).
struct Metal {
  double phases[6] = {};
  float Next() {
    static const float kHz[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    float sum = 0.0f;
    for (int i = 0; i < 6; ++i) {
      phases[i] += kHz[i] * 1.6f * kFrameSec;
      phases[i] -= std::floor(phases[i]);
      sum += phases[i] < 0.5 ? 1.0f : -1.0f;
    }
    return sum / 6.0f;
  }
};

// Attack, sustain at 1, release after the note's length; 0 after the release.
float Gate(float t, float lengthSec, float attackSec, float releaseSec) {
  if (t < attackSec) return t / attackSec;
  if (t < lengthSec) return 1.0f;
  return std::max(0.0f, 1.0f - (t - lengthSec) / releaseSec);
}

void Put(StereoBus& bus, size_t frame, float left, float right) {
  bus.left[frame] += left;
  bus.right[frame] += right;
}

// Equal-power pan gains for pan -1..1.
float PanLeft(float pan) { return static_cast<float>(std::cos((pan + 1.0) * kPi / 4.0)); }
float PanRight(float pan) { return static_cast<float>(std::sin((pan + 1.0) * kPi / 4.0)); }

size_t EndFrame(const StereoBus& bus, size_t startFrame, float lengthSec) {
  return std::min(bus.left.size(), startFrame + static_cast<size_t>(lengthSec * kSampleRateHz));
}

}  // namespace

StereoBus MakeBus(size_t frameCount) {
  return {std::vector<float>(frameCount, 0.0f), std::vector<float>(frameCount, 0.0f)};
}

void AddKick(StereoBus& bus, size_t startFrame, float gain) {
  Sine body;
  Noise noise(startFrame);
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, 0.5f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    const float hz = 46.0f + 120.0f * std::exp(-t / 0.035f);
    const float thump = body.Next(hz) * std::exp(-t / 0.3f) * std::min(1.0f, t / 0.0015f);
    const float click = noise.Next() * std::exp(-t / 0.003f) * 0.25f;
    const float value = std::tanh(1.6f * (thump + click)) * gain;
    Put(bus, frame, value, value);
  }
}

void AddSnare(StereoBus& bus, size_t startFrame, float gain) {
  Sine low, high;
  Noise noise(startFrame);
  Filter left, right;
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, 0.4f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    const float tone =
        (low.Next(185.0f) * 0.6f * std::exp(-t / 0.07f) + high.Next(330.0f) * 0.3f * std::exp(-t / 0.04f)) *
        std::min(1.0f, t / 0.001f);
    const float decay = std::exp(-t / 0.12f);
    left.Run(noise.Next(), 3800.0f, 1.0f);
    right.Run(noise.Next(), 3600.0f, 1.0f);
    Put(bus, frame, (tone + (left.high + left.band) * 0.55f * decay) * gain,
        (tone + (right.high + right.band) * 0.55f * decay) * gain);
  }
}

void AddHat(StereoBus& bus, size_t startFrame, float gain, bool open) {
  Metal metal;
  Noise noise(startFrame);
  Filter filter;
  const float decaySec = open ? 0.22f : 0.035f;
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, decaySec * 6.0f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    filter.Run(metal.Next() * 0.6f + noise.Next() * 0.5f, 7500.0f, 0.8f);
    const float value = filter.high * std::exp(-t / decaySec) * std::min(1.0f, t / 0.0005f) * gain;
    Put(bus, frame, value * PanLeft(0.3f), value * PanRight(0.3f));
  }
}

void AddCrash(StereoBus& bus, size_t startFrame, float gain) {
  Metal metal;
  Noise noise(startFrame);
  Filter left, right;
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, 3.0f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    const float ring = metal.Next() * 0.3f;
    left.Run(noise.Next() + ring, 5000.0f, 1.0f);
    right.Run(noise.Next() + ring, 5200.0f, 1.0f);
    const float envelope = std::exp(-t / 0.8f) * std::min(1.0f, t / 0.002f) * gain;
    Put(bus, frame, left.high * envelope, right.high * envelope);
  }
}

void AddRiser(StereoBus& bus, size_t startFrame, size_t lengthFrames, float gain) {
  Noise noise(startFrame);
  Filter left, right;
  const float lengthSec = lengthFrames * kFrameSec;
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, lengthSec); ++frame) {
    const float progress = (frame - startFrame) / static_cast<float>(lengthFrames);
    const float cutoffHz = 300.0f * std::pow(30.0f, progress);
    left.Run(noise.Next(), cutoffHz, 0.3f);
    right.Run(noise.Next(), cutoffHz * 1.05f, 0.3f);
    const float envelope = progress * progress * gain;
    Put(bus, frame, left.band * envelope, right.band * envelope);
  }
}

void AddBass(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain) {
  Saw a, b;
  Sine sub;
  Filter filter;
  const float lengthSec = lengthFrames * kFrameSec;
  const float hz = MidiHz(static_cast<float>(midiNote));
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, lengthSec + 0.03f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    const float raw = a.Next(hz) + 0.6f * b.Next(hz * 1.006f);
    filter.Run(raw, 160.0f + 1500.0f * std::exp(-t / 0.09f), 0.55f);
    const float value = (filter.low * 0.45f + sub.Next(hz) * 0.55f) * Gate(t, lengthSec, 0.004f, 0.03f) *
                        (0.7f + 0.3f * std::exp(-t / 0.2f)) * gain;
    Put(bus, frame, value, value);
  }
}

void AddPad(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain, float brightnessHz) {
  const float detuneCents[3] = {-9.0f, 0.0f, 9.0f};
  const float pans[3] = {-0.8f, 0.0f, 0.8f};
  const float lengthSec = lengthFrames * kFrameSec;
  const float releaseSec = 0.9f;
  const size_t endFrame = EndFrame(bus, startFrame, lengthSec + releaseSec);
  for (int voice = 0; voice < 3; ++voice) {
    Saw saw;
    saw.phase = voice / 3.0;
    Filter filter;
    const float hz = MidiHz(midiNote + detuneCents[voice] / 100.0f);
    for (size_t frame = startFrame; frame < endFrame; ++frame) {
      const float t = (frame - startFrame) * kFrameSec;
      const float wobble = 1.0f + 0.25f * static_cast<float>(std::sin(2.0 * kPi * (0.23 * t + voice * 0.3)));
      filter.Run(saw.Next(hz), brightnessHz * wobble, 0.9f);
      const float value = filter.low * Gate(t, lengthSec, 0.45f, releaseSec) * gain * 0.5f;
      Put(bus, frame, value * PanLeft(pans[voice]), value * PanRight(pans[voice]));
    }
  }
}

void AddLead(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain) {
  Saw a, b;
  Filter filter;
  const float lengthSec = lengthFrames * kFrameSec;
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, lengthSec + 0.15f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    const float vibrato =
        0.25f * std::min(1.0f, std::max(0.0f, t - 0.18f) / 0.3f) * static_cast<float>(std::sin(2.0 * kPi * 5.2 * t));
    const float hz = MidiHz(midiNote + vibrato);
    filter.Run(0.5f * (a.Next(hz) + b.Next(hz * 1.004f)), 1800.0f + 2500.0f * std::exp(-t / 0.15f), 0.7f);
    const float value = filter.low * Gate(t, lengthSec, 0.012f, 0.15f) * (0.75f + 0.25f * std::exp(-t / 0.25f)) * gain;
    Put(bus, frame, value * PanLeft(-0.1f), value * PanRight(-0.1f));
  }
}

void AddPluck(StereoBus& bus, size_t startFrame, int midiNote, float gain, float pan) {
  Saw saw;
  Filter filter;
  const float hz = MidiHz(static_cast<float>(midiNote));
  for (size_t frame = startFrame; frame < EndFrame(bus, startFrame, 0.6f); ++frame) {
    const float t = (frame - startFrame) * kFrameSec;
    filter.Run(saw.Next(hz), 400.0f + 5000.0f * std::exp(-t / 0.05f), 0.5f);
    const float value = filter.low * std::exp(-t / 0.16f) * std::min(1.0f, t / 0.002f) * gain;
    Put(bus, frame, value * PanLeft(pan), value * PanRight(pan));
  }
}
