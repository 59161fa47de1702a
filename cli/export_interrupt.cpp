#include "cli/export_interrupt.h"

#include <csignal>
#include <cstdlib>

namespace {

constexpr int kWatched[] = {SIGINT, SIGTERM, SIGHUP};
// Process-wide, as signals are (README, "Process-wide state"): the signal that arrived, the handlers before.
volatile std::sig_atomic_t arrived = 0;
struct sigaction previous[sizeof kWatched / sizeof kWatched[0]];

void Mark(int signalNumber) { arrived = signalNumber; }

void GiveBack() {
  for (size_t i = 0; i < sizeof kWatched / sizeof kWatched[0]; ++i) sigaction(kWatched[i], &previous[i], nullptr);
}

}  // namespace

InterruptWatch::InterruptWatch() {
  arrived = 0;
  struct sigaction marking {};
  marking.sa_handler = Mark;
  sigemptyset(&marking.sa_mask);
  for (size_t i = 0; i < sizeof kWatched / sizeof kWatched[0]; ++i) sigaction(kWatched[i], &marking, &previous[i]);
}

InterruptWatch::~InterruptWatch() { GiveBack(); }

int InterruptWatch::Signal() { return arrived; }

void InterruptWatch::EndBySignal() {
  const int signalNumber = arrived;
  GiveBack();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
  std::_Exit(128 + signalNumber);  // only when the signal was ignored before the export began
}
