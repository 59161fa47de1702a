// Plays short MP3s through SDL's disk driver, which writes what the device would hear to a raw file in
// real time, and checks what comes out. Each test runs in its own process (CTest), so each sets its own
// driver before BASS_Init.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/bass.h"
#include "audio/music.h"
#include "tests/audio/sound_files.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr size_t kProbeFrames = 2048;  // about 46 ms: long enough to match one place only

class BassPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.Path();
    rawFile_ = dir_ / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", rawFile_.c_str(), 1);
  }
  void TearDown() override { BASS_Free(); }

  // Waits until the stream has mixed up to positionMs; false after a few seconds without getting there.
  static bool WaitForPosition(HSTREAM stream, int64_t positionMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (BASS_StreamGetPositionMs(stream) < positionMs) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // Closes the output, which writes the buffer being mixed before it returns, and reads the raw file.
  std::vector<int16_t> HeardSamples() {
    BASS_Free();
    return ReadRawSamples(rawFile_);
  }

  TempDir temp_;
  std::filesystem::path dir_;
  std::filesystem::path rawFile_;
};

TEST_F(BassPlayback, PlaysTheWholeFileAtItsLevelAndPitch) {
  std::filesystem::path tone = MakeMp3(dir_, "tone", "0.8 sine 440 vol 0.5");
  std::vector<int16_t> decoded = DecodeWholeMp3(tone);
  ASSERT_EQ(decoded.size(), 2u * 35280);  // 0.8 s, nothing lost or added at the ends

  ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
  HSTREAM stream = BASS_StreamCreateFile(false, tone.c_str(), 0, 0, 0);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(BASS_Start());
  ASSERT_TRUE(BASS_StreamPlay(stream, true, 0));
  ASSERT_TRUE(WaitForPosition(stream, 800));
  float cpuPercent = BASS_GetCPU();
  EXPECT_GT(cpuPercent, 0.0f);
  EXPECT_LT(cpuPercent, 50.0f);
  EXPECT_EQ(BASS_StreamGetPositionMs(stream), 800);  // stays at the end
  std::vector<int16_t> heard = HeardSamples();

  int64_t start = FindFrames(heard, decoded, 0, decoded.size() / 2);
  ASSERT_GE(start, 0) << "the file did not come out whole";
  EXPECT_NEAR(LeftRms(heard, size_t(start), 35280), 0.5 * 32767 / std::sqrt(2.0), 600.0);
  EXPECT_NEAR(LeftFrequencyHz(heard, size_t(start), 35280), 440.0, 3.0);
  size_t soundingFrames = 0;
  for (size_t f = 0; f < heard.size() / 2; ++f) soundingFrames += heard[2 * f] != 0 || heard[2 * f + 1] != 0;
  EXPECT_NEAR(double(soundingFrames), 35280.0, 100.0) << "played once, silence elsewhere";
}

TEST_F(BassPlayback, LoopRestartPlaysFromTheBeginningAgain) {
  std::filesystem::path sweep = MakeMp3(dir_, "sweep", "1 sine 200-2000 vol 0.5");
  std::vector<int16_t> decoded = DecodeWholeMp3(sweep);
  ASSERT_EQ(decoded.size(), 2u * 44100);

  Music music;
  music.enabled = true;
  ASSERT_EQ(InitMusic(music, sweep.string()), "");
  ASSERT_TRUE(WaitForPosition(music.stream, 400));
  RestartMusic(music);
  EXPECT_LT(BASS_StreamGetPositionMs(music.stream), 300);
  ASSERT_TRUE(WaitForPosition(music.stream, 1000));
  std::vector<int16_t> heard = HeardSamples();
  EndMusic(music);

  int64_t first = FindFrames(heard, decoded, 0, kProbeFrames);
  ASSERT_GE(first, 0);
  int64_t second = FindFrames(heard, decoded, 0, kProbeFrames, size_t(first) + 1);
  ASSERT_GE(second, 0) << "no second start";
  EXPECT_EQ(FindFrames(heard, decoded, 0, kProbeFrames, size_t(second) + 1), -1) << "started a third time";
  int64_t playedBeforeRestart = second - first;
  EXPECT_GE(playedBeforeRestart, 400 * 44);
  EXPECT_EQ(FindFrames(heard, decoded, 0, size_t(std::min<int64_t>(playedBeforeRestart, 400 * 44)), size_t(first)),
            first);
  EXPECT_EQ(FindFrames(heard, decoded, 0, 44100, size_t(second)), second) << "second run not whole";
}

TEST_F(BassPlayback, SeekLandsOnTheExactFrame) {
  std::filesystem::path sweep = MakeMp3(dir_, "sweep", "1 sine 200-2000 vol 0.5");
  std::vector<int16_t> decoded = DecodeWholeMp3(sweep);
  ASSERT_EQ(decoded.size(), 2u * 44100);

  ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
  HSTREAM stream = BASS_StreamCreateFile(false, sweep.c_str(), 0, 0, 0);
  ASSERT_NE(stream, 0u);
  EXPECT_TRUE(BASS_StreamSetPositionMs(stream, 5000));
  EXPECT_EQ(BASS_StreamGetPositionMs(stream), 1000) << "past the end moves to the end";
  EXPECT_TRUE(BASS_StreamSetPositionMs(stream, 333));
  EXPECT_EQ(BASS_StreamGetPositionMs(stream), 333);

  // Seek before playing (500 ms = frame 22050), then again while playing (100 ms = frame 4410).
  ASSERT_TRUE(BASS_StreamSetPositionMs(stream, 500));
  ASSERT_TRUE(BASS_StreamPlay(stream, false, 0));
  ASSERT_TRUE(BASS_Start());
  ASSERT_TRUE(WaitForPosition(stream, 650));
  ASSERT_TRUE(BASS_StreamSetPositionMs(stream, 100));
  ASSERT_TRUE(WaitForPosition(stream, 250));
  ASSERT_TRUE(BASS_Stop());
  std::vector<int16_t> heard = HeardSamples();

  int64_t at500 = FindFrames(heard, decoded, 22050, kProbeFrames);
  ASSERT_GE(at500, 0);
  EXPECT_EQ(FindFrames(heard, decoded, 0, kProbeFrames), -1) << "the start was never asked for";
  int64_t at100 = FindFrames(heard, decoded, 4410, kProbeFrames, size_t(at500));
  EXPECT_GT(at100, at500);
}

TEST_F(BassPlayback, CallsOutsideInitAndFreeAreHarmless) {
  std::filesystem::path tone = MakeMp3(dir_, "tone", "0.2 sine 440");
  for (int round = 0; round < 2; ++round) {  // before the first BASS_Init, then after BASS_Free
    EXPECT_FALSE(BASS_Stop());
    EXPECT_FALSE(BASS_Free());
    EXPECT_FALSE(BASS_Start());
    EXPECT_FALSE(BASS_Pause());
    EXPECT_EQ(BASS_StreamCreateFile(false, tone.c_str(), 0, 0, 0), 0u);
    EXPECT_FALSE(BASS_StreamPlay(1, true, 0));
    EXPECT_FALSE(BASS_StreamSetPositionMs(1, 0));
    EXPECT_EQ(BASS_StreamGetPositionMs(1), -1);
    EXPECT_EQ(BASS_GetCPU(), 0.0f);

    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr)) << "already initialised";
    HSTREAM stream = BASS_StreamCreateFile(false, tone.c_str(), 0, 0, 0);
    EXPECT_NE(stream, 0u);
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_StreamPlay(stream, true, 0)) << "freed with the library";
  }
}

TEST_F(BassPlayback, RefusesWhatItCannotPlay) {
  EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr));
  EXPECT_FALSE(BASS_Init(-1, 48000, 0, nullptr));
  ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));

  std::ofstream(dir_ / "empty.mp3").close();
  std::ofstream(dir_ / "text.mp3") << "this is no mp3\n";
  std::filesystem::path wav = dir_ / "tone.wav";
  MakeMp3(dir_, "tone", "0.2 sine 440");  // leaves tone.wav beside it
  for (std::filesystem::path bad : {dir_ / "missing.mp3", dir_ / "empty.mp3", dir_ / "text.mp3", wav, dir_})
    EXPECT_EQ(BASS_StreamCreateFile(false, bad.c_str(), 0, 0, 0), 0u) << bad;

  std::filesystem::path tone = dir_ / "tone.mp3";
  HSTREAM stream = BASS_StreamCreateFile(false, tone.c_str(), 0, 0, 0);
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(BASS_StreamCreateFile(true, tone.c_str(), 0, 0, 0), 0u);
  EXPECT_EQ(BASS_StreamCreateFile(false, tone.c_str(), 16, 0, 0), 0u);
  EXPECT_FALSE(BASS_StreamPlay(stream + 1, true, 0));
  HSTREAM replacement = BASS_StreamCreateFile(false, tone.c_str(), 0, 0, 0);
  EXPECT_NE(replacement, stream);
  EXPECT_FALSE(BASS_StreamPlay(stream, true, 0)) << "replaced";
  EXPECT_TRUE(BASS_StreamPlay(replacement, true, 0));
}

TEST_F(BassPlayback, WithoutADriverChoiceSomeOutputOpens) {
  // This machine has no sound card: SDL's own drivers fail and the silent "dummy" driver is taken.
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
  EXPECT_TRUE(BASS_Start());
  EXPECT_TRUE(BASS_Free());
}

// Without a driver asked for and without a sound card (as on a build machine), the output falls back
// to silence and says so once per run.
TEST(BassOutput, SaysOnceThatThereIsNoSoundDevice) {
  unsetenv("SDL_AUDIODRIVER");
  ::testing::internal::CaptureStderr();
  const bool first = BASS_Init(-1, 44100, 0, nullptr);
  BASS_Free();
  const bool second = BASS_Init(-1, 44100, 0, nullptr);
  BASS_Free();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(first && second) << "silence rather than no music";
  const std::string notice = "quarnel: no sound device: playing without music\n";  // besides the sound library's own
  size_t count = 0;
  for (size_t at = said.find(notice); at != std::string::npos; at = said.find(notice, at + 1)) ++count;
  if (count == 0 && said.find("ALSA") == std::string::npos) GTEST_SKIP() << "a sound device opened";
  EXPECT_EQ(count, 1u) << said;
}

}  // namespace
