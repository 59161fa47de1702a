#include "audio/audio_versions.h"

#include <SDL.h>

std::string SdlVersionText() {
  SDL_version linked;
  SDL_GetVersion(&linked);
  return "SDL " + std::to_string(linked.major) + "." + std::to_string(linked.minor) + "." +
         std::to_string(linked.patch);
}

std::string Mpg123VersionText() { return "mpg123 " QUARNEL_MPG123_VERSION; }
