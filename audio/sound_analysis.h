#pragma once
// The soundtrack's envelopes (scene/sound_envelopes.h), computed from its decoded samples with KissFFT.
// The same samples always give the very same envelopes (one thread, a fixed order of operations), so the
// preview and an export of the same MP3 follow the music alike, frame for frame.
//
// How: the left and right channels are averaged. Every 10 ms (441 samples at 44.1 kHz) two spectra are
// taken of the samples centred there (zeros before the start and after the end of the sound):
// - low, mid, high: from 2048 samples (46 ms) through a Blackman window, the amplitude (square root of
//   the summed power) of the bins with centres below 150 Hz (not the DC bin), from 150 Hz to below 2 kHz,
//   and from 2 kHz up. Each band is scaled so that its loudest moment is 1; a band whose loudest moment
//   stays 40 dB below the loudest band's is scaled as if it reached that level, so that a pure tone does
//   not light up the other bands with its faint leakage. Below -60 dB of full scale a band is 0.
// - onset: from 1024 samples (23 ms) through a Hann window, the spectral flux: the sum over the bins
//   (not DC) of how much each bin's compressed magnitude log(1 + 10 × magnitude) grew since the previous
//   step; then how far it stands above its mean over the 100 ms on either side (a steady sound adds to
//   the flux everywhere, an onset stands out), scaled so that the strongest onset is 1. A rise of less
//   than 0.1 (noise, dither) is 0. An onset lands on the step at or just before it.
// Each envelope then rises at once and falls smoothly: a value lower than the one before decays no
// faster than exp(-t / 120 ms) for the bands and exp(-t / 80 ms) for the onset. The values in between
// the 10 ms steps, one per millisecond, are linear between the steps around them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/sound_envelopes.h"

inline constexpr uint32_t kEnvelopeStepMs = 10;
// Raised whenever the analysis changes what it computes, so that envelopes cached before are not used.
inline constexpr uint32_t kAnalysisVersion = 1;

// The envelopes at every 10 ms step: what the cache keeps. steps[source][k] is the source's value at
// k × 10 ms; there are msCount / 10 + 1 steps.
struct EnvelopeSteps {
  uint32_t msCount = 0;  // the sound's length in whole milliseconds
  std::array<std::vector<float>, kSoundSourceCount> steps;
  bool operator==(const EnvelopeSteps&) const = default;
};

// The steps of 44.1 kHz stereo samples, left and right interleaved.
EnvelopeSteps AnalyseSamples(const std::vector<int16_t>& interleaved);

// Decodes the MP3 at path (audio/mp3_decoder.h) and analyses it. Returns "" on success; otherwise why
// not (the file does not decode, or holds no sound), with steps empty. A file damaged part of the way is
// analysed as far as it decodes, as far as it plays.
[[nodiscard]] std::string AnalyseMp3(const std::string& path, EnvelopeSteps& steps);

// One value per millisecond, msCount of them per source, linear between the steps.
SoundEnvelopes EnvelopesPerMs(const EnvelopeSteps& steps);
