#pragma once
// Waiting in tests: polls a condition until it holds or a deadline passes, never a fixed wait.
#include <chrono>
#include <functional>
#include <thread>

inline constexpr std::chrono::seconds kPollDeadline{10};

// Calls done() until it holds or timeout has passed, with between() in between (by default a 20 ms
// pause); returns done().
inline bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kPollDeadline,
                      const std::function<void()>& between = {}) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return done();
    if (between) between();
    else std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
