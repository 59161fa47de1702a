#include "authoring/authoring_music.h"

MusicControl MusicControlFor(Music& music) {
  if (!music.enabled) return {};
  MusicControl control;
  control.Seek = [&music](uint32_t positionMs) {
    BASS_StreamSetPositionMs(music.stream, positionMs);
    BASS_StreamPlay(music.stream, false, 0);
  };
  control.PositionMs = [&music] { return BASS_StreamGetPositionMs(music.stream); };
  control.SetPaused = [](bool paused) {
    if (paused) BASS_Pause();
    else BASS_Start();
  };
  return control;
}
