#include "audio/bass.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "audio/mp3_decoder.h"
#include "audio/music_messages.h"

// The stream's fields are shared with SDL's audio thread, which calls MixOutput; this side touches them
// only while holding the device lock. The rest of the state belongs to the calling thread alone.
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kVersion = 0x00060001;
constexpr uint16_t kDeviceBufferFrames = 1024;  // about 23 ms at 44 100 Hz
constexpr uint32_t kBytesPerFrame = kMp3Channels * sizeof(int16_t);
constexpr Clock::duration kCpuWindow = std::chrono::milliseconds(500);

struct Output {
  bool initialised = false;
  SDL_AudioDeviceID device = 0;
  HSTREAM lastHandle = 0;  // handles count up, so a replaced stream's handle stays unknown

  // Shared with the audio thread.
  HSTREAM stream = 0;
  Mp3Decoder mp3;
  uint64_t positionFrames = 0;
  bool playing = false;

  // Audio thread only, except cpuWindowOpen, which the calling thread clears under the lock.
  bool cpuWindowOpen = false;
  Clock::time_point cpuWindowStart;
  Clock::duration cpuBusy{};
  std::atomic<float> cpuPercent{0.0f};
};

// Process-wide, as BASS is (README, "Process-wide state"): the one output device and its stream.
Output output;

// A program that ends without BASS_Free (after a fatal start-up error, say) must not leave the audio
// thread reading the stream while it is destroyed: this runs before output's own destructor.
struct FreeAtExit {
  ~FreeAtExit() { BASS_Free(); }
} freeAtExit;

void CountBusyTime(Clock::time_point start, Clock::time_point end) {
  if (!output.cpuWindowOpen) {
    output.cpuWindowOpen = true;
    output.cpuWindowStart = start;
    output.cpuBusy = {};
  }
  output.cpuBusy += end - start;
  Clock::duration wall = end - output.cpuWindowStart;
  if (wall < kCpuWindow) return;
  output.cpuPercent = float(100.0 * double(output.cpuBusy.count()) / double(wall.count()));
  output.cpuWindowStart = end;
  output.cpuBusy = {};
}

// SDL's audio callback: fills the device buffer from the stream, silence where there is nothing to play.
void MixOutput(void*, Uint8* bytes, int byteCount) {
  Clock::time_point start = Clock::now();
  int16_t* out = reinterpret_cast<int16_t*>(bytes);
  uint64_t frameCount = uint64_t(byteCount) / kBytesPerFrame;
  uint64_t playedFrames = 0;
  if (output.playing) {
    uint64_t availableFrames = DecodeMp3Frames(output.mp3, output.positionFrames + frameCount);
    playedFrames = std::min(frameCount, availableFrames - std::min(availableFrames, output.positionFrames));
    if (playedFrames > 0) {
      std::memcpy(out, output.mp3.samples.data() + output.positionFrames * kMp3Channels, playedFrames * kBytesPerFrame);
      output.positionFrames += playedFrames;
    }
    if (playedFrames < frameCount) output.playing = false;  // the end of the file
  }
  std::memset(out + playedFrames * kMp3Channels, 0, (frameCount - playedFrames) * kBytesPerFrame);
  CountBusyTime(start, Clock::now());
}

SDL_AudioDeviceID OpenDevice() {
  // SDL would otherwise take over Ctrl+C and SIGTERM for an event queue that nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec wanted{};
  wanted.freq = int(kMp3RateHz);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = uint8_t(kMp3Channels);
  wanted.samples = kDeviceBufferFrames;
  wanted.callback = MixOutput;
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return device;
}

// Runs or pauses the output; either way the CPU measurement starts afresh, so that a pause is not counted.
void RunOutput(bool run) {
  SDL_LockAudioDevice(output.device);
  output.cpuWindowOpen = false;
  SDL_UnlockAudioDevice(output.device);
  SDL_PauseAudioDevice(output.device, run ? 0 : 1);
}

bool IsStream(HSTREAM handle) { return output.initialised && handle != 0 && handle == output.stream; }

}  // namespace

uint32_t BASS_GetVersion() { return kVersion; }

bool BASS_Init(int device, uint32_t freqHz, uint32_t flags, void*) {
  if (output.initialised || device != -1 || freqHz != kMp3RateHz || flags != 0) return false;
  output.device = OpenDevice();
  if (output.device == 0 && std::getenv("SDL_AUDIODRIVER") == nullptr) {
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    output.device = OpenDevice();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    static bool told = false;
    if (output.device != 0 && !told) std::fprintf(stderr, "%s\n", kNoSoundDeviceText);
    told = true;
  }
  output.initialised = output.device != 0;
  return output.initialised;
}

HSTREAM BASS_StreamCreateFile(bool mem, const void* file, uint32_t offset, uint32_t length, uint32_t flags) {
  if (!output.initialised || mem || file == nullptr || offset != 0 || length != 0 || flags != 0) return 0;
  Mp3Decoder mp3;
  if (!OpenMp3(mp3, static_cast<const char*>(file)).empty()) return 0;
  output.lastHandle = output.lastHandle == UINT32_MAX ? 1 : output.lastHandle + 1;
  SDL_LockAudioDevice(output.device);
  std::swap(output.mp3, mp3);
  output.stream = output.lastHandle;
  output.positionFrames = 0;
  output.playing = false;
  SDL_UnlockAudioDevice(output.device);
  CloseMp3(mp3);  // the replaced stream
  return output.stream;
}

bool BASS_Start() {
  if (!output.initialised) return false;
  RunOutput(true);
  return true;
}

bool BASS_StreamPlay(HSTREAM handle, bool flush, uint32_t flags) {
  if (!IsStream(handle) || flags != 0) return false;
  SDL_LockAudioDevice(output.device);
  if (flush) output.positionFrames = 0;
  output.playing = true;
  SDL_UnlockAudioDevice(output.device);
  return true;
}

bool BASS_Pause() {
  if (!output.initialised) return false;
  RunOutput(false);
  return true;
}

bool BASS_Stop() {
  if (!output.initialised) return false;
  RunOutput(false);
  SDL_LockAudioDevice(output.device);
  output.playing = false;
  SDL_UnlockAudioDevice(output.device);
  return true;
}

bool BASS_Free() {
  if (!output.initialised) return false;
  SDL_CloseAudioDevice(output.device);  // waits for the audio thread to end
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  CloseMp3(output.mp3);
  output.device = 0;
  output.stream = 0;
  output.positionFrames = 0;
  output.playing = false;
  output.cpuWindowOpen = false;
  output.cpuPercent = 0.0f;
  output.initialised = false;
  return true;
}

float BASS_GetCPU() { return output.initialised ? output.cpuPercent.load() : 0.0f; }

bool BASS_StreamSetPositionMs(HSTREAM handle, uint32_t positionMs) {
  if (!IsStream(handle)) return false;
  uint64_t frame = (uint64_t(positionMs) * kMp3RateHz + 500) / 1000;
  SDL_LockAudioDevice(output.device);
  output.positionFrames = std::min(frame, DecodeMp3Frames(output.mp3, frame));
  SDL_UnlockAudioDevice(output.device);
  return true;
}

int64_t BASS_StreamGetPositionMs(HSTREAM handle) {
  if (!IsStream(handle)) return -1;
  SDL_LockAudioDevice(output.device);
  uint64_t frame = output.positionFrames;
  SDL_UnlockAudioDevice(output.device);
  return int64_t((frame * 1000 + kMp3RateHz / 2) / kMp3RateHz);
}
