#include "ui/reload_timer.h"

#include "engine/toolkit_guard.h"
#include "devmode/dev_document.h"

#include <FL/Fl.H>

namespace {

constexpr double kReloadPollSeconds = 0.5;

void PollTimer(void* data) {
  DevDocument& document = *static_cast<DevDocument*>(data);
  if (document.engine.terminating) return;
  const uint32_t wallMs = document.engine.host.WallTickMs();
  EndOnQuitSignal(document, wallMs);
  // Not again before this poll is done: a box it opens runs the event loop meanwhile.
  FromToolkit([&document, wallMs] { PollDocument(document, wallMs); });
  Fl::repeat_timeout(kReloadPollSeconds, PollTimer, data);
}

}  // namespace

void StartHotReload(DevDocument& document) { Fl::add_timeout(kReloadPollSeconds, PollTimer, &document); }
