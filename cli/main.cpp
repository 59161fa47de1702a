// quarnel: program entry. Command-line tools run without a window; otherwise the launcher starts.
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/bpm_command.h"
#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "cli/data_folder.h"
#include "cli/new_demo.h"
#include "cli/render_command.h"
#include "cli/standard_output.h"
#include "cli/version_text.h"
#include "cli/video_export.h"
#include "engine/data_location.h"
#include "ui/demo_program.h"

namespace {

// The same text as the man page's synopsis (tools/packaging/quarnel.1.in).
constexpr const char* kUsage =
    "usage: quarnel [-d [--music] [--osc PORT [--osc-address ADDR]]] [--start MS] [--frame-step MS]\n"
    "               [--max-fps N] [DATA_DIR]\n"
    "       quarnel --check [DATA_DIR]\n"
    "       quarnel [-d] --print-frame MS [DATA_DIR]\n"
    "       quarnel --render MS OUT.png [--fps N[/D]] [--size WxH] [DATA_DIR]\n"
    "       quarnel --export OUT.mp4|DIR/ [--fps N[/D]] [--size WxH] [--from MS] [--to MS]\n"
    "               [--codec h264|ffv1|png|prores] [--jobs N] [--no-music] [DATA_DIR]\n"
    "       quarnel --new DIR\n"
    "       quarnel --guess-bpm [DATA_DIR]\n"
    "       quarnel --version | --help\n";

// What is wrong with the arguments, then the usage.
int Refused(const std::string& fault) {
  std::fprintf(stderr, "quarnel: %s\n", fault.c_str());
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::atexit(CloseStandardOutput);
  std::setlocale(LC_NUMERIC, "");  // process-wide (docs/developing.md, "Process-wide state"): the numbers' separator
  CommandLine line;
  if (const std::string fault = ReadCommandLine({argv + 1, argv + argc}, line); !fault.empty()) return Refused(fault);
  switch (line.command) {
    case Command::Help: std::fputs(kUsage, stdout); return 0;
    case Command::Version: std::fputs(VersionText().c_str(), stdout); return 0;
    case Command::New: return RunNewDemo(line.target);
    default: break;
  }
  const std::string dataDir = line.dataDir.empty() ? DefaultDataDir() : line.dataDir;
  if (const std::string fault = DataFolderFault(dataDir); !fault.empty()) return Refused(fault);
  switch (line.command) {
    case Command::Check: return RunCheck(dataDir);
    case Command::PrintFrame: return RunPrintFrame(line.demoTimeMs, dataDir, line.developmentMode);
    case Command::GuessBpm: return RunGuessBpm(dataDir);
    case Command::Render:
      return RunRender(line.demoTimeMs, line.target, line.rate, line.widthPx, line.heightPx, dataDir);
    case Command::Export:
      return RunExport({line.target, line.rate, line.widthPx, line.heightPx, dataDir, line.fromMs, line.toMs,
                        line.codec, line.jobs, line.withMusic});
    default: return RunDemoProgram(line.developmentMode, dataDir, line.play);
  }
}
