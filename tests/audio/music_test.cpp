// The music's BASS calls, watched through a recorder that stands in for the library, plus the one
// failure the real library can show on any machine: a missing MP3.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/music.h"

namespace {

// What the recorder saw and what it answers.
std::vector<std::string> calls;
uint32_t version = 0x00060001;
bool initOk = true;
HSTREAM createdStream = 7;
bool startOk = true;
bool playOk = true;

const BassCalls kRecorder = {
    [] {
      calls.push_back("GetVersion");
      return version;
    },
    [](int device, uint32_t freqHz, uint32_t flags, void* window) {
      calls.push_back("Init " + std::to_string(device) + " " + std::to_string(freqHz) + " " + std::to_string(flags) +
                      (window == nullptr ? " none" : " window"));
      return initOk;
    },
    [](bool mem, const void* file, uint32_t offset, uint32_t length, uint32_t flags) {
      calls.push_back("StreamCreateFile " + std::to_string(mem) + " " + static_cast<const char*>(file) + " " +
                      std::to_string(offset) + " " + std::to_string(length) + " " + std::to_string(flags));
      return createdStream;
    },
    [] {
      calls.push_back("Start");
      return startOk;
    },
    [](HSTREAM handle, bool flush, uint32_t flags) {
      calls.push_back("StreamPlay " + std::to_string(handle) + " " + std::to_string(flush) + " " +
                      std::to_string(flags));
      return playOk;
    },
    [] {
      calls.push_back("Pause");
      return true;
    },
    [] {
      calls.push_back("Stop");
      return true;
    },
    [] {
      calls.push_back("Free");
      return true;
    },
    [] {
      calls.push_back("GetCPU");
      return 1.5f;
    },
};

Music RecordedMusic(bool enabled) {
  calls.clear();
  Music music;
  music.enabled = enabled;
  music.bass = &kRecorder;
  return music;
}

TEST(Music, AcceptsVersionOneSixAndLaterOneX) {
  EXPECT_TRUE(IsAcceptedBassVersion(0x00060001));
  EXPECT_TRUE(IsAcceptedBassVersion(0x00070001));
  EXPECT_FALSE(IsAcceptedBassVersion(0x00050001));  // 1.5
  EXPECT_FALSE(IsAcceptedBassVersion(0x00000001));  // 1.0
  EXPECT_FALSE(IsAcceptedBassVersion(0x00060002));  // 2.6
  EXPECT_FALSE(IsAcceptedBassVersion(0x00010006));  // 6.1: halves swapped
  EXPECT_FALSE(IsAcceptedBassVersion(0));
  EXPECT_EQ(BASS_GetVersion(), 0x00060001u);
}

TEST(Music, StartsInOrderWithTheDemosArguments) {
  Music music = RecordedMusic(true);
  EXPECT_EQ(InitMusic(music, "data/song.mp3"), "");
  EXPECT_EQ(music.stream, 7u);
  EXPECT_EQ(calls, (std::vector<std::string>{"GetVersion", "Init -1 44100 0 none",
                                             "StreamCreateFile 0 data/song.mp3 0 0 0", "Start", "StreamPlay 7 1 0"}));
}

TEST(Music, EachStartFailureEndsWithItsOwnText) {
  struct Case {
    uint32_t version;
    bool initOk;
    HSTREAM stream;
    bool startOk;
    bool playOk;
    std::string text;
    size_t callCount;
  };
  const Case cases[] = {
      {0x00050001, true, 7, true, true, "wrong version of bass.dll found (1.6 or better required)", 1},
      {0x00060001, false, 7, true, true, "bass init failed (you better kill all sound applications and try again :-))",
       2},
      {0x00060001, true, 0, true, true,
       "Stream creation failed (in other words: where is my mp3 file (mus/a b.mp3), eh?!)", 3},
      {0x00060001, true, 7, false, true, "not possible to start digital output", 4},
      {0x00060001, true, 7, true, false, "Could not play audio stream", 5},
  };
  for (const Case& c : cases) {
    Music music = RecordedMusic(true);
    version = c.version;
    initOk = c.initOk;
    createdStream = c.stream;
    startOk = c.startOk;
    playOk = c.playOk;
    EXPECT_EQ(InitMusic(music, "mus/a b.mp3"), c.text);
    EXPECT_EQ(calls.size(), c.callCount) << c.text;
  }
  version = 0x00060001;
  initOk = startOk = playOk = true;
  createdStream = 7;
}

TEST(Music, RestartAndEndMakeTheirCallsInOrder) {
  Music music = RecordedMusic(true);
  music.stream = 9;
  RestartMusic(music);
  EXPECT_EQ(calls, (std::vector<std::string>{"Pause", "Stop", "Start", "StreamPlay 9 1 0"}));
  calls.clear();
  EXPECT_EQ(MusicCpuPercent(music), 1.5f);
  EndMusic(music);
  EXPECT_EQ(calls, (std::vector<std::string>{"GetCPU", "Stop", "Free"}));
}

TEST(Music, MusicOffMakesNoCallAtAll) {
  Music music = RecordedMusic(false);
  EXPECT_EQ(InitMusic(music, "data/song.mp3"), "");
  RestartMusic(music);
  EXPECT_EQ(MusicCpuPercent(music), 0.0f);
  EndMusic(music);
  EXPECT_TRUE(calls.empty());
}

TEST(Music, AMissingFileIsNamedAsGiven) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Music music;
  music.enabled = true;
  EXPECT_EQ(InitMusic(music, "no such dir/../song.mp3"),
            "Stream creation failed (in other words: where is my mp3 file (no such dir/../song.mp3), eh?!)");
  EndMusic(music);
  EXPECT_EQ(BASS_GetCPU(), 0.0f) << "freed";
}

}  // namespace
