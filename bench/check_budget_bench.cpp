// quarnel --check's time on three folders, run from the source folder:
// - the worst folder the loaders accept for the check's search: 255 presets whose integer parameters all
//   swing just past the 32-bit range at peaks that no whole millisecond meets (x = 2π/3), each played by
//   its own entry over 2 000 000 000 ms; no bound settles them, so the check spends its whole budget and
//   ends undecided;
// - the campaign's folder a sampled check passed: BG_r swinging with 2^31 that fails only within a few ms
//   of its peak at 157 079 ms, in 255 entries of a 200 000 ms demo;
// - the shipped demo (data/).
// Each time includes decoding the shipped MP3 (about 0.2 to 0.4 s), which all three play.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli_commands.h"
#include "scene/preset_file.h"
#include "scene/safe_file.h"

namespace {

constexpr int kEntries = 255;

// The default preset text with the integer parameters' lines (base, form, x, y) replaced as given.
std::string PresetText(bool allIntegers, const std::string& x, const std::string& y) {
  const TScene1ParamIArray defaults = InitParamTable();
  std::string text = ScenePresetText(defaults);
  for (int i = kParamCount - 1; i >= 0; --i) {
    if (EvaluationType(i) == ParamType::Sing || (!allIntegers && i != 0)) continue;
    const size_t at = text.find(defaults[i].Name.Text() + "\r\n") + defaults[i].Name.Text().size() + 2;
    text.replace(at, text.find("~", at) - at, "0\r\n1\r\n" + x + "\r\n" + y + "\r\n");
  }
  return text;
}

// The folder, or "" when it could not be written.
std::string MakeFolder(const std::string& name, bool presetPerEntry, uint32_t lengthMs, const std::string& preset) {
  const std::string dir = (std::filesystem::temp_directory_path() / name).string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (int n = 0; n < (presetPerEntry ? kEntries : 1); ++n)
    if (!ReplaceFile(PresetFilePath(dir, n), preset).empty()) return "";
  std::string sequence = "// bench\r\n" + std::to_string(lengthMs) + "\r\nl\r\n8\r\nl\r\n" +
                         std::filesystem::absolute("data/soundtrack.mp3").string() + "\r\nl\r\n";
  for (int n = 0; n < kEntries; ++n)
    sequence += std::to_string(presetPerEntry ? n : 0) + "\r\n0\r\n" + std::to_string(lengthMs) +
                "\r\n1\r\n0\r\n0\r\n0\r\n0\r\n~\r\n";
  if (!ReplaceFile(dir + "/sceneseq.txt", sequence).empty()) return "";
  std::filesystem::copy_file("data/texture0.bmp", dir + "/texture0.bmp");
  return dir;
}

// The check's time on dir in seconds, its verdict and reports not shown; status is its exit status.
double TimeCheck(const std::string& dir, int& status) {
  std::fflush(stdout);
  const int savedOut = dup(STDOUT_FILENO), savedErr = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  const auto start = std::chrono::steady_clock::now();
  status = RunCheck(dir);
  const double tookS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fflush(stdout);
  dup2(savedOut, STDOUT_FILENO);
  dup2(savedErr, STDERR_FILENO);
  close(null);
  return tookS;
}

}  // namespace

int main() {
  if (!std::filesystem::exists("data/sceneseq.txt")) {
    std::fprintf(stderr, "run from the source folder (it reads data/)\n");
    return 2;
  }
  const struct {
    const char* what;
    std::string dir;
  } folders[] = {
      {"worst: 255 presets x 49 unsettled oscillators, 2e9 ms",
       MakeFolder("quarnel-check-worst", true, 2'000'000'000, PresetText(true, "2.0943951023931953", "2147483648"))},
      {"narrow peak: 255 entries, 200000 ms",
       MakeFolder("quarnel-check-peak", false, 200'000, PresetText(false, "0.00001", "2147483648"))},
      {"shipped demo", "data"},
  };
  for (const auto& folder : folders) {
    if (folder.dir.empty()) {
      std::fprintf(stderr, "check_budget_bench: cannot write the data folder for %s\n", folder.what);
      return 1;
    }
    int status = 0;
    const double tookS = TimeCheck(folder.dir, status);
    std::printf("check of %s: %.2f s (exit status %d)\n", folder.what, tookS, status);
    if (folder.dir != "data") std::filesystem::remove_all(folder.dir);
  }
  return 0;
}
