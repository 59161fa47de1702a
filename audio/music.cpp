#include "audio/music.h"

#include "audio/music_messages.h"

const BassCalls kBass = {BASS_GetVersion, BASS_Init,       BASS_StreamCreateFile,
                         BASS_Start,      BASS_StreamPlay, BASS_Pause,
                         BASS_Stop,       BASS_Free,       BASS_GetCPU};

bool IsAcceptedBassVersion(uint32_t version) {
  uint32_t major = version & 0xFFFF;
  uint32_t minor = version >> 16;
  return major == 1 && minor >= 6;
}

std::string InitMusic(Music& music, const std::string& mp3FileName) {
  if (!music.enabled) return {};
  const BassCalls& bass = *music.bass;
  if (!IsAcceptedBassVersion(bass.GetVersion())) return kWrongBassVersionText;
  // The output belongs to no window on this platform, so none is passed.
  if (!bass.Init(-1, 44100, 0, nullptr)) return kBassInitFailedText;
  music.stream = bass.StreamCreateFile(false, mp3FileName.c_str(), 0, 0, 0);
  if (music.stream == 0) return StreamCreationFailedText(mp3FileName);
  if (!bass.Start()) return kOutputStartFailedText;
  if (!bass.StreamPlay(music.stream, true, 0)) return kStreamPlayFailedText;
  return {};
}

void RestartMusic(Music& music) {
  if (!music.enabled) return;
  music.bass->Pause();
  music.bass->Stop();
  music.bass->Start();
  music.bass->StreamPlay(music.stream, true, 0);
}

void EndMusic(Music& music) {
  if (!music.enabled) return;
  music.bass->Stop();
  music.bass->Free();
  music.stream = 0;
}

float MusicCpuPercent(const Music& music) { return music.enabled ? music.bass->GetCPU() : 0.0f; }
