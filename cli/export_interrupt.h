#pragma once
// Ctrl+C (SIGINT), SIGTERM and SIGHUP during an export: while an InterruptWatch lives, these signals
// only mark the export as interrupted, so that it can end its encoder and remove its temporaries, and
// then end as the signal would have ended it.
class InterruptWatch {
 public:
  InterruptWatch();   // takes the three signals
  ~InterruptWatch();  // gives them back as they were
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // The signal that arrived since the watch began, or 0.
  static int Signal();
  // Gives the signals back and ends the process by the signal that arrived (it must have arrived).
  [[noreturn]] void EndBySignal();
};
