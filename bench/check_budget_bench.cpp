// quarnel --check of the worst data folder the loaders accept: 255 presets whose integer parameters all
// have oscillators that might leave the 32-bit range (but never do: x = 0), each played by its own entry
// over a 10 000 000 ms demo. Tried at every demo time that is about 3 * 10^11 evaluations; the check's one
// budget samples them instead. Prints the time the check took and its share of the one-minute goal.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli_commands.h"
#include "scene/param_eval.h"
#include "scene/preset_file.h"
#include "scene/safe_file.h"

namespace {

constexpr int kPresets = 255;
constexpr uint32_t kDemoLengthMs = 10'000'000;

// The folder, or "" when it could not be written.
std::string MakeWorstFolder() {
  const std::string dir = (std::filesystem::temp_directory_path() / "quarnel-check-budget-bench").string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  TScene1ParamIArray preset = InitParamTable();
  for (int i = 0; i < kParamCount; ++i) {
    if (EvaluationType(i) == ParamType::Sing) continue;
    preset[i] = SetParam(preset[i].Name.Text(), 1, 0, 0, 3e9f);
  }
  for (int n = 0; n < kPresets; ++n)
    if (!WriteScenePreset(PresetFilePath(dir, n), preset).empty()) return "";
  std::string sequence = "// worst\r\n" + std::to_string(kDemoLengthMs) + "\r\nl\r\n8\r\nl\r\nnone.mp3\r\nl\r\n";
  for (int n = 0; n < kPresets; ++n)
    sequence += std::to_string(n) + "\r\n0\r\n" + std::to_string(kDemoLengthMs) + "\r\n1\r\n0\r\n0\r\n0\r\n0\r\n~\r\n";
  if (!ReplaceFile(dir + "/sceneseq.txt", sequence).empty()) return "";
  return dir;
}

}  // namespace

int main() {
  const std::string dir = MakeWorstFolder();
  if (dir.empty()) {
    std::fprintf(stderr, "check_budget_bench: cannot write the data folder\n");
    return 1;
  }
  // The check's thousands of warnings (and its verdict) are not what is measured.
  const int savedOut = dup(STDOUT_FILENO), savedErr = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  const auto start = std::chrono::steady_clock::now();
  RunCheck(dir);
  const double tookS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fflush(stdout);
  dup2(savedOut, STDOUT_FILENO);
  dup2(savedErr, STDERR_FILENO);
  std::printf("check of the worst folder (%d presets, %u ms): %.1f s, %.3f of the 60 s goal\n", kPresets,
              kDemoLengthMs, tookS, tookS / 60);
  std::filesystem::remove_all(dir);
  return tookS < 60 ? 0 : 1;
}
