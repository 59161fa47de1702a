#include "cli/version_text.h"

#include "audio/audio_versions.h"
#include "cli/git_revision.h"
#include "devmode/osc_packet.h"
#include "ui/toolkit_versions.h"

std::string VersionText() {
  std::string text = "quarnel " QUARNEL_VERSION;
  if (const std::string revision = QUARNEL_GIT_REVISION; !revision.empty()) text += " (git " + revision + ")";
  text += "\n" + FltkVersionText() + "\n" + Mpg123VersionText() + "\n" + SdlVersionText() + "\n" +
          OscLibraryVersionText() + "\n";
  if (const std::string gl = DisplayGlText(); !gl.empty()) text += gl + "\n";
  return text;
}
