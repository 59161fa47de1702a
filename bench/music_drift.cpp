// music_drift: measures how far the picture's demo time and the music's position drift apart over a
// long run in real time, with the development-mode clock as the program runs it (frames every 16 ms).
//
//   music_drift SECONDS FILE.mp3 follow|free
//
// "follow" locks the picture to the music as `quarnel -d --music` does; "free" lets both run apart, as
// a default run does. Prints, every 10 s, the mean, lowest and highest of (music position - demo time -
// kMusicLeadMs) over those 10 s, and at the end the drift: the last mean minus the first.
// Set SDL_AUDIODRIVER (dummy, disk) when the machine has no sound card.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "authoring/authoring_clock.h"
#include "authoring/authoring_music.h"

namespace {

uint32_t RealTickMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::string(argv[3]) != "follow" && std::string(argv[3]) != "free")) {
    std::fputs("usage: music_drift SECONDS FILE.mp3 follow|free\n", stderr);
    return 2;
  }
  const uint32_t seconds = static_cast<uint32_t>(std::atoi(argv[1]));
  Music music;
  music.enabled = true;
  if (!BASS_Init(-1, 44100, 0, nullptr) || (music.stream = BASS_StreamCreateFile(false, argv[2], 0, 0, 0)) == 0) {
    std::fprintf(stderr, "music_drift: cannot play %s\n", argv[2]);
    return 1;
  }
  BASS_Start();
  BASS_StreamPlay(music.stream, true, 0);
  const MusicControl control = MusicControlFor(music);

  AuthoringClock authoring;
  authoring.followMusic = std::string(argv[3]) == "follow";
  DemoClock clock;
  const uint32_t firstTick = RealTickMs();
  clock.StartTick = firstTick;

  double firstMean = 0, lastMean = 0, worst = 0;
  bool haveFirst = false;
  double sum = 0, low = 1e9, high = -1e9;
  int count = 0;
  uint32_t windowEnd = firstTick + 10000;
  while (static_cast<uint32_t>(RealTickMs() - firstTick) < seconds * 1000) {
    const uint32_t real = RealTickMs();
    BeforeFrame(authoring, clock, AuthoringTick(authoring, real), real, control);
    clock.DemoTime = AuthoringTick(authoring, RealTickMs()) - clock.StartTick;
    const double leadMs = double(BASS_StreamGetPositionMs(music.stream)) - clock.DemoTime - kMusicLeadMs;
    AfterFrame(authoring, clock, control);
    sum += leadMs, low = std::min(low, leadMs), high = std::max(high, leadMs), ++count;
    if (static_cast<int32_t>(real - windowEnd) >= 0) {
      const double mean = sum / count;
      if (!haveFirst) firstMean = mean, haveFirst = true;
      lastMean = mean;
      worst = std::max(worst, std::abs(mean - firstMean));
      std::printf("t=%4us demo=%7ums lead mean %7.2f ms  min %7.2f  max %7.2f  (picture %+.1f ms off real time)\n",
                  (real - firstTick) / 1000, clock.DemoTime, mean, low, high,
                  double(clock.DemoTime) - double(real - firstTick));
      std::fflush(stdout);
      sum = 0, low = 1e9, high = -1e9, count = 0;
      windowEnd += 10000;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(16));
  }
  std::printf("drift over %us: %.2f ms (largest change of the 10 s mean: %.2f ms)\n", seconds, lastMean - firstMean,
              worst);
  BASS_Free();
  return 0;
}
