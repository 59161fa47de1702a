// The music following the development clock through SDL's disk driver, which writes what the device
// would play to a file: after a time jump, a loop wrap and a pause the samples that come out are the
// MP3's samples at the demo time the picture shows.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "authoring/authoring_clock.h"
#include "audio/bass.h"
#include "authoring/authoring_music.h"
#include "tests/audio/sound_files.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr size_t kProbeFrames = 2048;  // about 46 ms of a sweep: matches at one place only
constexpr double kFramesPerMs = 44.1;

uint32_t RealTickMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

class MusicFollow : public ::testing::Test {
 protected:
  void SetUp() override {
    raw_ = temp_ / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw_.c_str(), 1);
    sweep_ = MakeMp3(temp_.Path(), "sweep", "3 sine 200-6000 vol 0.5");
    decoded_ = DecodeWholeMp3(sweep_);
    music_.enabled = true;
    ASSERT_EQ(InitMusic(music_, sweep_.string()), "");
    control_ = MusicControlFor(music_);
    const auto seek = control_.Seek;
    control_.Seek = [this, seek](uint32_t ms) {
      seeks_.push_back(ms);
      seek(ms);
    };
    clock_.StartTick = RealTickMs();
  }
  void TearDown() override { EndMusic(music_); }

  // Frames every 10 ms for ms of real time, as the program's loop runs them.
  void Run(uint32_t ms) {
    const uint32_t end = RealTickMs() + ms;
    while (static_cast<int32_t>(RealTickMs() - end) < 0) {
      const uint32_t real = RealTickMs();
      BeforeFrame(authoring_, clock_, AuthoringTick(authoring_, real), real, control_);
      clock_.DemoTime = AuthoringTick(authoring_, RealTickMs()) - clock_.StartTick;
      AfterFrame(authoring_, clock_, control_);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  // Waits (at most 4 s) until the stream has mixed the probe's length beyond where it was when asked,
  // so that the music after the last seek is heard whole; then closes the output, which writes the
  // buffer being mixed before it returns, and reads the raw file.
  std::vector<int16_t> Heard() {
    const int64_t wantedMs = BASS_StreamGetPositionMs(music_.stream) + int64_t(kProbeFrames / kFramesPerMs) + 1;
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
         BASS_StreamGetPositionMs(music_.stream) < wantedMs && std::chrono::steady_clock::now() < end;)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EndMusic(music_);
    return ReadRawSamples(raw_);
  }
  // Where in heard the MP3 from demo time ms on comes out, searching from fromFrame; -1 when nowhere.
  int64_t HeardAt(const std::vector<int16_t>& heard, uint32_t ms, size_t fromFrame = 0) {
    return FindFrames(heard, decoded_, static_cast<size_t>(ms * kFramesPerMs + 0.5), kProbeFrames, fromFrame);
  }

  TempDir temp_;
  std::string raw_;
  std::filesystem::path sweep_;
  std::vector<int16_t> decoded_;
  Music music_;
  MusicControl control_;
  std::vector<uint32_t> seeks_;
  DemoClock clock_;
  AuthoringClock authoring_;
};

TEST_F(MusicFollow, AJumpAndAPauseComeOutAtThePicturesTime) {
  Run(200);
  clock_.StartTick -= 1500 - clock_.DemoTime;  // the time control jumps to 1500 ms
  Run(150);
  TogglePause(authoring_, RealTickMs(), control_);
  Run(20);
  const uint32_t pausedAt = clock_.DemoTime;
  Run(300);
  EXPECT_EQ(clock_.DemoTime, pausedAt) << "frames go on at the paused time";
  TogglePause(authoring_, RealTickMs(), control_);
  Run(150);
  const std::vector<int16_t> heard = Heard();

  ASSERT_EQ(seeks_.size(), 2u);
  // Each seek goes to the time of the frame after the command: the jump's target plus the ms until then
  // (a frame or a few on a loaded machine).
  EXPECT_GE(seeks_[0], 1500u);
  EXPECT_LT(seeks_[0], 1600u);
  EXPECT_GE(seeks_[1], pausedAt) << "resumed at the paused time";
  EXPECT_LT(seeks_[1], pausedAt + 100);
  const int64_t jump = HeardAt(heard, seeks_[0]);
  ASSERT_GE(jump, 0) << "the MP3 from 1500 ms on is heard";
  const int64_t resume = HeardAt(heard, seeks_[1], size_t(jump));
  ASSERT_GT(resume, jump) << "and from the resume time on after the pause";
  // Between the two: the MP3 went on from 1500 ms until the pause, then silence while paused.
  const int64_t playedFrames = (pausedAt - seeks_[0]) * kFramesPerMs;
  EXPECT_EQ(
      FindFrames(heard, decoded_, size_t(seeks_[0] * kFramesPerMs + 0.5), size_t(playedFrames) - 2048, size_t(jump)),
      jump);
  EXPECT_GT(resume - jump, playedFrames + 200 * kFramesPerMs) << "the pause lasted 300 ms";
  EXPECT_LT(LeftRms(heard, size_t(jump + playedFrames + 2048), size_t(100 * kFramesPerMs)), 1.0) << "silent pause";
}

TEST_F(MusicFollow, TheLoopWrapsTheMusicToLoopIn) {
  SetLoopIn(authoring_, 100);
  SetLoopOut(authoring_, 400);
  Run(900);  // three times through the loop
  const std::vector<int16_t> heard = Heard();

  ASSERT_GE(seeks_.size(), 2u);
  int64_t from = 0;
  for (uint32_t seek : seeks_) {
    EXPECT_GE(seek, 100u);
    EXPECT_LT(seek, 200u) << "a wrap lands just after loop-in (within a few frames on a loaded machine)";
    const int64_t at = HeardAt(heard, seek, size_t(from) + 1);  // after the previous wrap's start
    ASSERT_GT(at, from) << "wrap to " << seek << " ms heard in order";
    from = at;
  }
}

}  // namespace
