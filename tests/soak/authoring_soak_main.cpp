// authoring_soak: the scripted authoring soak as a long run (tools/authoring_soak.h), for sanitizer
// builds. Run it from the project folder (the data folder's MP3 path is relative to it):
//   authoring_soak [--minutes M] [--steps N] [--seed S] [--music] [--data DIR] [--work DIR]
// Exits 0 when nothing went wrong, 1 after the first fault, 2 for a bad argument.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "soak/authoring_soak.h"

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "");
  SoakOptions options;
  options.workDir = (std::filesystem::temp_directory_path() / ("quarnel-soak-" + std::to_string(getpid()))).string();
  double minutes = 1;
  bool ownWorkDir = true;  // the default folder is the soak's own and goes afterwards
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--minutes" && hasValue) minutes = std::atof(argv[++i]);
    else if (arg == "--steps" && hasValue) options.maxSteps = std::strtoull(argv[++i], nullptr, 10);
    else if (arg == "--seed" && hasValue) options.seed = std::strtoull(argv[++i], nullptr, 10);
    else if (arg == "--data" && hasValue) options.sourceDataDir = argv[++i];
    else if (arg == "--work" && hasValue) options.workDir = argv[++i], ownWorkDir = false;
    else if (arg == "--music") options.music = true;
    else
      return std::fputs(
                 "usage: authoring_soak [--minutes M] [--steps N] [--seed S] [--music] [--data DIR] [--work DIR]\n",
                 stderr),
             2;
  }
  options.maxSeconds = minutes * 60;
  std::printf("authoring soak: seed %llu, %.1f minutes, music %s, work folder %s\n",
              static_cast<unsigned long long>(options.seed), minutes, options.music ? "on" : "off",
              options.workDir.c_str());
  const SoakReport report = RunAuthoringSoak(options, [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  });
  std::printf(
      "%llu steps, %llu frames, %llu saves, %llu loads, %llu outside edits, %llu reloads, %llu undo/redo, "
      "%llu messages, %llu questions, %zu faults\n",
      static_cast<unsigned long long>(report.steps), static_cast<unsigned long long>(report.frames),
      static_cast<unsigned long long>(report.saves), static_cast<unsigned long long>(report.loads),
      static_cast<unsigned long long>(report.outsideEdits), static_cast<unsigned long long>(report.reloads),
      static_cast<unsigned long long>(report.undos), static_cast<unsigned long long>(report.messages),
      static_cast<unsigned long long>(report.questions), report.faults.size());
  std::error_code ignored;
  if (ownWorkDir) std::filesystem::remove_all(options.workDir, ignored);
  return report.faults.empty() ? 0 : 1;
}
