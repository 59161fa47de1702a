#include "cli/frame_progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

void ShowFrameProgress(uint64_t done, uint64_t total, std::chrono::steady_clock::time_point start) {
  if (!isatty(STDERR_FILENO)) return;
  constexpr int kBarWidth = 30;
  const double elapsedS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double share = total ? static_cast<double>(done) / total : 1;
  const double fps = elapsedS > 0 ? done / elapsedS : 0;
  const double leftS = fps > 0 ? (total - done) / fps : 0;
  std::string bar(kBarWidth, ' ');
  for (int i = 0; i < static_cast<int>(share * kBarWidth); ++i) bar[i] = '#';
  std::fprintf(stderr, "\r[%s] %llu/%llu frames  %.1f frames/s  %.0f s left ", bar.c_str(),
               static_cast<unsigned long long>(done), static_cast<unsigned long long>(total), fps, leftS);
  std::fflush(stderr);
}
