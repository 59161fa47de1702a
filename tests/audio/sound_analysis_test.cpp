// The soundtrack's envelopes and tempo from synthetic sounds: sines in each band, and a 120 bpm kick
// track made with the soundtrack's own drum voice.
#include <gtest/gtest.h>

#include <filesystem>

#include "audio/sound_analysis.h"
#include "audio/tempo_guess.h"
#include "tests/audio/sound_files.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_dir.h"
#include "tools/mixing.h"
#include "tools/voices.h"
#include "tools/wav_file.h"

namespace {

constexpr int kBeatMs = 500;
constexpr int kKickCount = 16;

// dir/kicks.mp3: a kick every 500 ms from 505 ms on (between two analysis steps), 9 s in all.
constexpr int kFirstKickMs = 505;
std::filesystem::path MakeKickTrack(const TempDir& dir) {
  StereoBus bus = MakeBus(size_t(kSampleRateHz) * 9);
  for (int beat = 1; beat <= kKickCount; ++beat)
    AddKick(bus, size_t(kFirstKickMs + (beat - 1) * kBeatMs) * kSampleRateHz / 1000, 0.8f);
  const std::string wav = dir / "kicks.wav", mp3 = dir / "kicks.mp3";
  EXPECT_EQ(WriteWav(wav, ToPcm16(bus, 0.8f), 2, kSampleRateHz), "");
  const CommandResult lame = RunCommand("lame --quiet -b 192 '" + wav + "' '" + mp3 + "'");
  EXPECT_EQ(lame.status, 0) << lame.output;
  return mp3;
}

// The mean of a source's envelope from fromMs to toMs.
double MeanLevel(const SoundEnvelopes& envelopes, SoundSource source, int fromMs, int toMs) {
  double sum = 0;
  for (int ms = fromMs; ms < toMs; ++ms) sum += EnvelopeAt(envelopes, source, ms);
  return sum / (toMs - fromMs);
}

// The times of the onset envelope's peaks above half its range.
std::vector<int> OnsetPeaksMs(const SoundEnvelopes& envelopes) {
  const std::vector<float>& onset = envelopes.levels[size_t(SoundSource::Onset)];
  std::vector<int> peaks;
  for (size_t ms = 1; ms + 1 < onset.size(); ++ms)
    if (onset[ms] > 0.5f && onset[ms] > onset[ms - 1] && onset[ms] >= onset[ms + 1]) peaks.push_back(int(ms));
  return peaks;
}

TEST(SoundAnalysis, ASineLightsUpItsOwnBandOnly) {
  TempDir dir;
  const struct {
    const char* name;
    int hz;
    SoundSource band;
  } sines[] = {{"low", 80, SoundSource::Low}, {"mid", 700, SoundSource::Mid}, {"high", 6000, SoundSource::High}};
  for (const auto& sine : sines) {
    const std::filesystem::path mp3 =
        MakeMp3(dir.Path(), sine.name, "2 sine " + std::to_string(sine.hz) + " vol 0.5 fade 0.05 2 0.05");
    EnvelopeSteps steps;
    ASSERT_EQ(AnalyseMp3(mp3.string(), steps), "");
    EXPECT_NEAR(steps.msCount, 2000, 1);
    const SoundEnvelopes envelopes = EnvelopesPerMs(steps);
    for (SoundSource band : {SoundSource::Low, SoundSource::Mid, SoundSource::High}) {
      const double level = MeanLevel(envelopes, band, 300, 1700);
      if (band == sine.band) EXPECT_GT(level, 0.8) << sine.name << " in " << kSoundSourceNames[size_t(band)];
      else EXPECT_LT(level, 0.05) << sine.name << " in " << kSoundSourceNames[size_t(band)];
    }
    EXPECT_LT(MeanLevel(envelopes, SoundSource::Onset, 300, 1700), 0.05) << sine.name << ": a steady tone";
  }
}

TEST(SoundAnalysis, AKickEveryHalfSecondGivesOnsetsEveryHalfSecondAnd120Bpm) {
  TempDir dir;
  const std::filesystem::path mp3 = MakeKickTrack(dir);
  EnvelopeSteps steps;
  ASSERT_EQ(AnalyseMp3(mp3.string(), steps), "");
  const SoundEnvelopes envelopes = EnvelopesPerMs(steps);

  const std::vector<int> peaks = OnsetPeaksMs(envelopes);
  ASSERT_EQ(peaks.size(), size_t(kKickCount));
  for (int beat = 1; beat <= kKickCount; ++beat)
    EXPECT_NEAR(peaks[size_t(beat - 1)], kFirstKickMs + (beat - 1) * kBeatMs, int(kEnvelopeStepMs)) << "kick " << beat;
  for (size_t i = 1; i < peaks.size(); ++i) EXPECT_NEAR(peaks[i] - peaks[i - 1], kBeatMs, int(kEnvelopeStepMs));
  EXPECT_GT(MeanLevel(envelopes, SoundSource::Low, 1000, 8000), 0.2) << "a kick is a low sound";

  const std::optional<double> bpm = GuessBpm(envelopes.levels[size_t(SoundSource::Onset)]);
  ASSERT_TRUE(bpm);
  EXPECT_EQ(*bpm, 120.0);
}

TEST(SoundAnalysis, TheSameSoundGivesTheVerySameEnvelopes) {
  TempDir dir;
  const std::filesystem::path mp3 = MakeKickTrack(dir);
  const std::filesystem::path copy = dir / "copy.mp3";
  std::filesystem::copy_file(mp3, copy);
  EnvelopeSteps first, second;
  ASSERT_EQ(AnalyseMp3(mp3.string(), first), "");
  ASSERT_EQ(AnalyseMp3(copy.string(), second), "");
  EXPECT_EQ(first, second);
  EXPECT_EQ(EnvelopesPerMs(first), EnvelopesPerMs(second));
}

TEST(SoundAnalysis, EveryMillisecondLiesOnTheLineBetweenItsSteps) {
  EnvelopeSteps steps;
  steps.msCount = 25;
  for (auto& source : steps.steps) source = {0, 1, 0.5f};
  const SoundEnvelopes envelopes = EnvelopesPerMs(steps);
  for (const auto& levels : envelopes.levels) {
    ASSERT_EQ(levels.size(), 25u);
    EXPECT_FLOAT_EQ(levels[0], 0);
    EXPECT_FLOAT_EQ(levels[4], 0.4f);
    EXPECT_FLOAT_EQ(levels[10], 1);
    EXPECT_FLOAT_EQ(levels[15], 0.75f);
    EXPECT_FLOAT_EQ(levels[24], 0.5f) << "after the last step: the last step's value";
  }
}

TEST(SoundAnalysis, SilenceAndFilesThatAreNotMusicGiveNoEnvelopes) {
  TempDir dir;
  EnvelopeSteps steps;
  ASSERT_EQ(AnalyseMp3(MakeMp3(dir.Path(), "silence", "2 sine 440 vol 0").string(), steps), "");
  for (const auto& source : steps.steps)
    for (float value : source) ASSERT_EQ(value, 0);
  EXPECT_FALSE(GuessBpm(EnvelopesPerMs(steps).levels[size_t(SoundSource::Onset)]));

  WriteFile(dir / "text.mp3", "not music");
  EXPECT_NE(AnalyseMp3(dir / "text.mp3", steps), "");
  EXPECT_EQ(steps, EnvelopeSteps{});
  EXPECT_NE(AnalyseMp3(dir / "missing.mp3", steps), "");
}

TEST(SoundAnalysis, TheShippedSoundtrackIsGuessedAtItsTempo) {
  EnvelopeSteps steps;
  ASSERT_EQ(AnalyseMp3(QUARNEL_DATA_DIR "/soundtrack.mp3", steps), "");
  EXPECT_EQ(steps.msCount, 96000u);
  EXPECT_EQ(GuessBpm(EnvelopesPerMs(steps).levels[size_t(SoundSource::Onset)]), 120.0) << "tools/song.h: 120 bpm";
}

}  // namespace
