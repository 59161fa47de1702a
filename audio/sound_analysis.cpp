#include "audio/sound_analysis.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "audio/mp3_decoder.h"
#include "audio/music_messages.h"

namespace {

constexpr int kBandWindowSamples = 2048;
constexpr int kOnsetWindowSamples = 1024;
constexpr int kStepSamples = int(kMp3RateHz * kEnvelopeStepMs / 1000);  // 441
constexpr double kLowTopHz = 150;
constexpr double kMidTopHz = 2000;
constexpr double kQuietBandRatio = 0.01;    // 40 dB
constexpr double kSilentAmplitude = 0.001;  // -60 dB of full scale: a band quieter is silent there
constexpr double kFluxCompression = 10;
constexpr double kSilentFlux = 0.1;     // a smaller rise of the flux is no onset (dither, encoder noise)
constexpr size_t kLocalMeanSteps = 10;  // on each side: 100 ms
constexpr double kBandReleaseMs = 120;
constexpr double kOnsetReleaseMs = 80;

struct FftDeleter {
  void operator()(kiss_fftr_state* state) const { kiss_fftr_free(state); }
};

double HannWindow(double x) { return 0.5 - 0.5 * std::cos(2 * M_PI * x); }
double BlackmanWindow(double x) { return 0.42 - 0.5 * std::cos(2 * M_PI * x) + 0.08 * std::cos(4 * M_PI * x); }

// The magnitudes of the spectrum of `size` samples around a centre, through a window.
struct Spectrum {
  Spectrum(int size, double (*shape)(double)) : fft(kiss_fftr_alloc(size, 0, nullptr, nullptr)) {
    double sum = 0;
    for (int i = 0; i < size; ++i) {
      window.push_back(float(shape(double(i) / size)));
      sum += window.back();
    }
    scale = float(2 / sum);  // a full-scale sine peaks at about 1
    block.resize(size_t(size));
    bins.resize(size_t(size / 2 + 1));
    magnitudes.resize(bins.size());
  }

  // Samples before 0 and from mono.size() on count as silence.
  void Take(const std::vector<float>& mono, int64_t centre) {
    const int64_t first = centre - int64_t(block.size() / 2);
    for (size_t i = 0; i < block.size(); ++i) {
      const int64_t at = first + int64_t(i);
      block[i] = at >= 0 && at < int64_t(mono.size()) ? mono[size_t(at)] * window[i] : 0.0f;
    }
    kiss_fftr(fft.get(), block.data(), bins.data());
    for (size_t b = 0; b < bins.size(); ++b) magnitudes[b] = std::hypot(bins[b].r, bins[b].i) * scale;
  }

  std::unique_ptr<kiss_fftr_state, FftDeleter> fft;
  std::vector<float> window, block;
  float scale = 1;
  std::vector<kiss_fft_cpx> bins;
  std::vector<float> magnitudes;
};

// Which band bin b (1..size/2) of a spectrum of `size` samples adds to: 0 low, 1 mid, 2 high.
int BandOfBin(size_t b, int size) {
  const double hz = double(b) * kMp3RateHz / size;
  return hz < kLowTopHz ? 0 : hz < kMidTopHz ? 1 : 2;
}

// How far each value lies above the mean of the values within kLocalMeanSteps around it (0 where it
// does not): a steady hum or noise adds to the flux everywhere, an onset stands out of it.
std::vector<float> AboveLocalMean(const std::vector<float>& values) {
  std::vector<float> above(values.size(), 0);
  for (size_t k = 0; k < values.size(); ++k) {
    const size_t from = k >= kLocalMeanSteps ? k - kLocalMeanSteps : 0;
    const size_t to = std::min(values.size(), k + kLocalMeanSteps + 1);
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += values[i];
    above[k] = std::max(0.0f, float(values[k] - sum / double(to - from)));
  }
  return above;
}

// Scales values so that the largest is 1 (with a largest below floor, as if it were floor); values below
// silent become 0.
void ScaleToPeak(std::vector<float>& values, double floor, double silent) {
  const double peak = std::max({floor, silent, double(*std::max_element(values.begin(), values.end()))});
  for (float& value : values) value = value < silent ? 0.0f : float(std::min(1.0, value / peak));
}

// Rises at once, falls no faster than exp(-t / releaseMs).
void SmoothRelease(std::vector<float>& values, double releaseMs) {
  const double keep = std::exp(-double(kEnvelopeStepMs) / releaseMs);
  for (size_t k = 1; k < values.size(); ++k) values[k] = std::max(values[k], float(values[k - 1] * keep));
}

}  // namespace

EnvelopeSteps AnalyseSamples(const std::vector<int16_t>& interleaved) {
  const size_t frames = interleaved.size() / kMp3Channels;
  EnvelopeSteps result;
  result.msCount = uint32_t(frames * 1000 / kMp3RateHz);
  if (frames == 0) return result;
  std::vector<float> mono(frames);
  for (size_t f = 0; f < frames; ++f) mono[f] = (float(interleaved[2 * f]) + float(interleaved[2 * f + 1])) / 65536.0f;

  const size_t stepCount = result.msCount / kEnvelopeStepMs + 1;
  for (std::vector<float>& source : result.steps) source.assign(stepCount, 0);
  Spectrum bands(kBandWindowSamples, BlackmanWindow), onsets(kOnsetWindowSamples, HannWindow);
  std::vector<float> compressed(onsets.magnitudes.size(), 0), previous(compressed.size(), 0);
  std::vector<float> flux(stepCount, 0);
  for (size_t k = 0; k < stepCount; ++k) {
    const int64_t centre = int64_t(k) * kStepSamples;
    bands.Take(mono, centre);
    double power[3] = {0, 0, 0};
    for (size_t b = 1; b < bands.magnitudes.size(); ++b)
      power[BandOfBin(b, kBandWindowSamples)] += double(bands.magnitudes[b]) * bands.magnitudes[b];
    for (int band = 0; band < 3; ++band) result.steps[size_t(band)][k] = float(std::sqrt(power[band]));

    onsets.Take(mono, centre);
    double growth = 0;  // the first step grows from the silence before the start
    for (size_t b = 0; b < compressed.size(); ++b) {
      compressed[b] = float(std::log1p(kFluxCompression * onsets.magnitudes[b]));
      if (b > 0) growth += std::max(0.0f, compressed[b] - previous[b]);
    }
    std::swap(compressed, previous);
    flux[k] = float(growth);
  }

  double loudestBand = kSilentAmplitude;
  for (int band = 0; band < 3; ++band)
    loudestBand = std::max(
        loudestBand, double(*std::max_element(result.steps[size_t(band)].begin(), result.steps[size_t(band)].end())));
  for (int band = 0; band < 3; ++band) {
    ScaleToPeak(result.steps[size_t(band)], loudestBand * kQuietBandRatio, kSilentAmplitude);
    SmoothRelease(result.steps[size_t(band)], kBandReleaseMs);
  }
  std::vector<float>& onset = result.steps[size_t(SoundSource::Onset)];
  onset = AboveLocalMean(flux);
  ScaleToPeak(onset, 0, kSilentFlux);
  SmoothRelease(onset, kOnsetReleaseMs);
  return result;
}

std::string AnalyseMp3(const std::string& path, EnvelopeSteps& steps) {
  Mp3Decoder decoder;
  std::string fault = OpenMp3(decoder, path);
  if (fault.empty() && DecodeMp3Frames(decoder, UINT64_MAX) == 0) fault = kMp3NoSoundText;
  steps = fault.empty() ? AnalyseSamples(decoder.samples) : EnvelopeSteps{};
  CloseMp3(decoder);
  return fault;
}

SoundEnvelopes EnvelopesPerMs(const EnvelopeSteps& steps) {
  SoundEnvelopes envelopes;
  for (int source = 0; source < kSoundSourceCount; ++source) {
    const std::vector<float>& at = steps.steps[size_t(source)];
    std::vector<float>& levels = envelopes.levels[size_t(source)];
    if (at.empty()) continue;
    levels.resize(steps.msCount);
    for (uint32_t ms = 0; ms < steps.msCount; ++ms) {
      const size_t k = std::min(size_t(ms / kEnvelopeStepMs), at.size() - 1);
      const size_t next = std::min(k + 1, at.size() - 1);
      const float share = float(ms % kEnvelopeStepMs) / float(kEnvelopeStepMs);
      levels[ms] = at[k] + (at[next] - at[k]) * share;
    }
  }
  return envelopes;
}
