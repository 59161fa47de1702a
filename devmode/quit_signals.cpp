#include "devmode/quit_signals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t arrived = 0;

void Mark(int signalNumber) { arrived = signalNumber; }

}  // namespace

void WatchQuitSignals() {
  struct sigaction marking {};
  marking.sa_handler = Mark;
  sigemptyset(&marking.sa_mask);
  for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) sigaction(signalNumber, &marking, nullptr);
}

int ArrivedQuitSignal() { return arrived; }

void EndByQuitSignal(int signalNumber) {
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
  std::_Exit(128 + signalNumber);
}
