// The soundtrack as a player gets it: a WAV file of the promised length and format, audible, unclipped,
// with its drums on the announced beat grid.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/song.h"
#include "tools/voices.h"
#include "tools/wav_file.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

// Root mean square of both channels over frames [first, first + count), as a fraction of full scale.
double Rms(const std::vector<int16_t>& pcm, size_t first, size_t count) {
  double sum = 0.0;
  for (size_t i = first * 2; i < (first + count) * 2; ++i) sum += static_cast<double>(pcm[i]) * pcm[i];
  return std::sqrt(sum / (count * 2)) / 32768.0;
}

// 6 bars: intro bar 0, build-up 1, main 2-3, no break, finale 4-5, fade-out over the last 2 s.
const double kSeconds = 12.0;

const std::vector<int16_t>& Song() {
  static const std::vector<int16_t> song = ComposeSong(kSeconds);
  return song;
}

}  // namespace

TEST(Soundtrack, SectionsOfTheDemoLengthStartOnAnnouncedBars) {
  const std::vector<SongSection> sections = PlanSections(SongBarCount(96.0));
  const int expectedBars[kSongSectionCount] = {0, 8, 16, 28, 32, 44};
  ASSERT_EQ(sections.size(), static_cast<size_t>(kSongSectionCount));
  for (int i = 0; i < kSongSectionCount; ++i) EXPECT_EQ(sections[i].startBar, expectedBars[i]) << sections[i].name;
  EXPECT_EQ(SongBarCount(95.0), 48);
  EXPECT_EQ(SongBarCount(1.0), 1);

  for (int barCount = 1; barCount <= 300; ++barCount) {
    const std::vector<SongSection> scaled = PlanSections(barCount);
    EXPECT_EQ(scaled.front().startBar, 0);
    for (int i = 1; i < kSongSectionCount; ++i) {
      EXPECT_GE(scaled[i].startBar, scaled[i - 1].startBar) << barCount << " bars";
      EXPECT_LE(scaled[i].startBar, barCount) << barCount << " bars";
    }
  }
}

TEST(Soundtrack, WavFileHasPromisedFormatAndLength) {
  const char* outDir = std::getenv("QUARNEL_TEST_OUT");
  const std::filesystem::path dir = outDir ? outDir : std::filesystem::temp_directory_path();
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "soundtrack.wav").string();
  ASSERT_EQ(WriteWav(path, Song(), 2, kSampleRateHz), "");

  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(std::memcmp(&bytes[0], "RIFF", 4), 0);
  EXPECT_EQ(U32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(std::memcmp(&bytes[8], "WAVEfmt ", 8), 0);
  EXPECT_EQ(U16(bytes, 20), 1);       // PCM
  EXPECT_EQ(U16(bytes, 22), 2);       // stereo
  EXPECT_EQ(U32(bytes, 24), 44100u);  // frames per second
  EXPECT_EQ(U32(bytes, 28), 44100u * 4);
  EXPECT_EQ(U16(bytes, 32), 4);
  EXPECT_EQ(U16(bytes, 34), 16);
  EXPECT_EQ(std::memcmp(&bytes[36], "data", 4), 0);
  EXPECT_EQ(U32(bytes, 40), static_cast<uint32_t>(kSeconds * 44100) * 4);
  EXPECT_EQ(bytes.size(), 44u + static_cast<size_t>(kSeconds * 44100) * 4);
}

TEST(Soundtrack, IsAudibleUnclippedAndFadesOut) {
  const std::vector<int16_t>& pcm = Song();
  ASSERT_EQ(pcm.size(), static_cast<size_t>(kSeconds * 44100) * 2);
  int loudest = 0;
  for (int16_t sample : pcm) loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
  EXPECT_LT(loudest, 32767 * 0.85);
  EXPECT_GT(loudest, 32767 * 0.75);
  EXPECT_GT(Rms(pcm, 0, pcm.size() / 2), 0.05);

  const size_t frames = pcm.size() / 2;
  EXPECT_GT(Rms(pcm, 0, kSampleRateHz), 0.01) << "the intro is silent";
  EXPECT_LT(Rms(pcm, frames - kSampleRateHz / 20, kSampleRateHz / 20), 0.002) << "no fade-out at the end";
}

// In the main section the kick lands on every beat: the 30 ms after a beat are much louder than the
// 30 ms before it.
TEST(Soundtrack, DrumsHitTheBeatGrid) {
  const std::vector<int16_t>& pcm = Song();
  const size_t beatFrames = kSampleRateHz * kBeatMs / 1000;
  const size_t windowFrames = kSampleRateHz * 30 / 1000;
  const int mainBar = PlanSections(SongBarCount(kSeconds))[2].startBar;
  for (int beat = 1; beat < 8; ++beat) {
    const size_t at = (mainBar * 4 + beat) * beatFrames;
    EXPECT_GT(Rms(pcm, at, windowFrames), 1.5 * Rms(pcm, at - windowFrames, windowFrames)) << "beat " << beat;
  }
}
