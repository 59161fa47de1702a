// The waveform's peaks: decoded from the MP3 with the music's decoder, one pair per 10 ms and then per
// pixel column; loud and quiet parts show as such.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/sound_files.h"
#include "support/temp_dir.h"
#include "support/time_bound.h"
#include "timeline/waveform.h"

TEST(Waveform, PeaksFollowTheSoundsLevelAndLength) {
  TempDir dir;
  // One second loud, one second silent.
  const std::filesystem::path mp3 = MakeMp3(dir.Path(), "halves", "1 sine 440 vol 0.8 : synth 1 sine 440 vol 0");
  ASSERT_FALSE(mp3.empty());
  const std::atomic<bool> cancel{false};
  const WavePeaks peaks = DecodeWavePeaks(mp3, cancel);
  ASSERT_NEAR(double(peaks.high.size()), 200.0, 2.0) << "one pair per 10 ms of two seconds";
  EXPECT_GT(peaks.high[50], 0.7f);
  EXPECT_LT(peaks.low[50], -0.7f);
  EXPECT_LT(peaks.high[150], 0.05f);

  const TimelineGeometry geometry{112, 100, 4000, 0, {}};  // 100 px for 4 s: 40 ms per column
  const std::vector<ColumnPeak> columns = PeaksPerColumn(peaks, geometry);
  ASSERT_EQ(columns.size(), 112u);
  EXPECT_GT(columns[6 + 10].high, 0.7f) << "the loud first second";
  EXPECT_LT(columns[6 + 35].high, 0.05f) << "the silent second one";
  EXPECT_LT(columns[6 + 80].high, columns[6 + 80].low) << "after the sound's end: nothing";
}

TEST(Waveform, DecodesInTheBackgroundAndAMissingFileGivesNoPeaks) {
  TempDir dir;
  const std::filesystem::path mp3 = MakeMp3(dir.Path(), "tone", "3 sine 220");
  ASSERT_FALSE(mp3.empty());
  Waveform waveform(mp3);
  const TimelineGeometry geometry{206, 100, 3000, 0, {}};
  for (int i = 0; i < 1000 && !waveform.Ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(waveform.Ready()) << "ready within 10 s";
  EXPECT_EQ(waveform.Columns(geometry).size(), 206u);
  EXPECT_GT(waveform.Columns(geometry)[100].high, 0.5f);

  Waveform missing(dir / "none.mp3");
  for (int i = 0; i < 1000 && !missing.Ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(missing.Ready());
  EXPECT_LT(missing.Columns(geometry)[100].high, missing.Columns(geometry)[100].low);
}

TEST(Waveform, ClosingWhileDecodingStopsAtOnce) {
  TempDir dir;
  const std::filesystem::path mp3 = MakeMp3(dir.Path(), "long", "20 sine 220");
  ASSERT_FALSE(mp3.empty());
  const int status = RunWithinBound([&mp3] {
    Waveform waveform(mp3);
    return waveform.Ready() ? 1 : 0;  // closed while the decoding thread still runs
  });
  EXPECT_EQ(status, 0) << "the closing crashed or hung (1: the 20 s file was decoded before the first look)";
}
