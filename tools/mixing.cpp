#include "tools/mixing.h"

#include <algorithm>
#include <cmath>

void AddEcho(StereoBus& bus, size_t delayFrames, float feedback, float wet) {
  std::vector<float> lineLeft(delayFrames, 0.0f), lineRight(delayFrames, 0.0f);
  float softLeft = 0.0f, softRight = 0.0f;  // one-pole low-pass in the loop: each echo is duller
  for (size_t frame = 0, slot = 0; frame < bus.left.size(); ++frame, slot = (slot + 1) % delayFrames) {
    const float echoLeft = lineLeft[slot], echoRight = lineRight[slot];
    softLeft += 0.35f * (echoLeft - softLeft);
    softRight += 0.35f * (echoRight - softRight);
    lineLeft[slot] = 0.5f * (bus.left[frame] + bus.right[frame]) + feedback * softRight;
    lineRight[slot] = feedback * softLeft;
    bus.left[frame] += wet * echoLeft;
    bus.right[frame] += wet * echoRight;
  }
}

void DuckOnBeats(StereoBus& bus, size_t startFrame, size_t endFrame, size_t beatFrames, float depth) {
  const float rampFrames = 0.004f * kSampleRateHz;
  const float recoverFrames = 0.14f * kSampleRateHz;
  for (size_t frame = startFrame; frame < std::min(endFrame, bus.left.size()); ++frame) {
    const float sinceBeat = static_cast<float>((frame - startFrame) % beatFrames);
    const float gain = 1.0f - depth * std::min(1.0f, sinceBeat / rampFrames) * std::exp(-sinceBeat / recoverFrames);
    bus.left[frame] *= gain;
    bus.right[frame] *= gain;
  }
}

void MixInto(StereoBus& master, const StereoBus& bus, float gain) {
  for (size_t frame = 0; frame < master.left.size(); ++frame) {
    master.left[frame] += bus.left[frame] * gain;
    master.right[frame] += bus.right[frame] * gain;
  }
}

void FadeEdges(StereoBus& bus, size_t fadeOutStartFrame) {
  const size_t frames = bus.left.size();
  for (size_t frame = 0; frame < frames; ++frame) {
    float gain = std::min(1.0f, frame / (0.01f * kSampleRateHz));
    if (frame >= fadeOutStartFrame) {
      const float progress =
          static_cast<float>(frame - fadeOutStartFrame) / std::max<size_t>(1, frames - 1 - fadeOutStartFrame);
      gain *= 0.5f + 0.5f * std::cos(3.14159265f * std::min(1.0f, progress));
    }
    bus.left[frame] *= gain;
    bus.right[frame] *= gain;
  }
}

namespace {

float Loudest(const StereoBus& bus) {
  float loudest = 0.0f;
  for (size_t frame = 0; frame < bus.left.size(); ++frame)
    loudest = std::max({loudest, std::fabs(bus.left[frame]), std::fabs(bus.right[frame])});
  return loudest;
}

float SoftKnee(float value) {
  const float knee = 0.5f;
  const float size = std::fabs(value);
  if (size <= knee) return value;
  return std::copysign(knee + (1.0f - knee) * std::tanh((size - knee) / (1.0f - knee)), value);
}

}  // namespace

void SoftLimit(StereoBus& bus, float drive) {
  const float loudest = Loudest(bus);
  if (loudest <= 0.0f) return;
  for (size_t frame = 0; frame < bus.left.size(); ++frame) {
    bus.left[frame] = SoftKnee(bus.left[frame] * drive / loudest);
    bus.right[frame] = SoftKnee(bus.right[frame] * drive / loudest);
  }
}

std::vector<int16_t> ToPcm16(const StereoBus& bus, float peak) {
  const float loudest = Loudest(bus);
  const float scale = loudest > 0.0f ? peak * 32767.0f / loudest : 0.0f;
  std::vector<int16_t> pcm;
  pcm.reserve(bus.left.size() * 2);
  for (size_t frame = 0; frame < bus.left.size(); ++frame) {
    pcm.push_back(static_cast<int16_t>(std::lround(bus.left[frame] * scale)));
    pcm.push_back(static_cast<int16_t>(std::lround(bus.right[frame] * scale)));
  }
  return pcm;
}
