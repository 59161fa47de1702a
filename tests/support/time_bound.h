#pragma once
// A generous bound against hangs: the body runs in a child process that is killed when it has not ended
// in time, so a reader that blocks fails its test instead of stopping the whole suite.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

inline constexpr std::chrono::seconds kHangBound{20};

// The body's result (0..255) as the child's exit status, or -1 when the child was killed at the bound
// (or crashed).
inline int RunWithinBound(const std::function<int()>& body, std::chrono::milliseconds bound = kHangBound) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  const auto deadline = std::chrono::steady_clock::now() + bound;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
