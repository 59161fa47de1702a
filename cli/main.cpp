// quarnel: program entry. Command-line tools run without a window; otherwise the launcher starts.
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/export_codecs.h"
#include "cli/new_demo.h"
#include "cli/version_text.h"
#include "engine/data_location.h"
#include "ui/demo_program.h"
#include "ui/launcher_lists.h"
#include "cli/render_command.h"
#include "cli/standard_output.h"
#include "cli/video_export.h"
#include "cli/cli_messages.h"
#include "scene/decimal_text.h"
#include "scene/printable_text.h"

namespace {

// The same text as the man page's synopsis (tools/packaging/quarnel.6.in).
constexpr const char* kUsage =
    "usage: quarnel [-d [--music]] [--start MS] [--frame-step MS] [--max-fps N] [DATA_DIR]\n"
    "       quarnel --check [DATA_DIR]\n"
    "       quarnel [-d] --print-frame MS [DATA_DIR]\n"
    "       quarnel --render MS OUT.png [--fps N[/D]] [--size WxH] [DATA_DIR]\n"
    "       quarnel --export OUT.mp4|DIR/ [--fps N[/D]] [--size WxH] [--from MS] [--to MS]\n"
    "               [--codec h264|ffv1|png|prores] [--jobs N] [--no-music] [DATA_DIR]\n"
    "       quarnel --new DIR\n"
    "       quarnel --version | --help\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

std::optional<uint32_t> ParseCount(const std::string& text, int32_t minimum, int32_t maximum) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value || *value < minimum || *value > maximum) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// "640x480" into its two sides, each 1..8192.
bool ParseSize(const std::string& text, uint32_t& widthPx, uint32_t& heightPx) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const auto w = ParseCount(text.substr(0, x), 1, 8192), h = ParseCount(text.substr(x + 1), 1, 8192);
  if (!w || !h) return false;
  widthPx = *w, heightPx = *h;
  return true;
}

// "60" or "30000/1001": 1..240 frames per second.
std::optional<FrameRate> ParseRate(const std::string& text) {
  const size_t slash = text.find('/');
  const auto numerator = ParseCount(text.substr(0, slash), 1, INT32_MAX);
  const auto denominator = slash == std::string::npos ? std::optional<uint32_t>(1)
                                                      : ParseCount(text.substr(slash + 1), 1, INT32_MAX);
  if (!numerator || !denominator || *numerator < *denominator || *numerator > 240ull * *denominator)
    return std::nullopt;
  return FrameRate{*numerator, *denominator};
}

// The options after the fixed arguments: --size, --fps, the export's range, codec and jobs, and at most
// one data folder.
struct Options {
  uint32_t widthPx = 640, heightPx = 480;
  FrameRate rate;
  uint32_t fromMs = 0;
  std::optional<uint32_t> toMs;
  std::string codec = "h264";
  uint32_t jobs = 1;
  bool withMusic = true;
  std::string dataDir = DefaultDataDir();
};

// An argument as a message shows it.
std::string Shown(const std::string& argument) { return "'" + QuotedText(argument, 40) + "'"; }

// Empty, or what is wrong with the arguments. forExport: --from, --to, --codec, --jobs and --no-music are
// taken too.
std::string ParseOptions(const std::vector<std::string>& args, size_t first, Options& options, bool forExport) {
  bool dataDirGiven = false;
  for (size_t i = first; i < args.size(); ++i) {
    const bool valueFollows = i + 1 < args.size();
    if (args[i] == "--size" && valueFollows) {
      if (!ParseSize(args[++i], options.widthPx, options.heightPx)) return kBadSizeText + Shown(args[i]);
    } else if (args[i] == "--fps" && valueFollows) {
      const auto rate = ParseRate(args[++i]);
      if (!rate) return kBadFpsText + Shown(args[i]);
      options.rate = *rate;
    } else if (forExport && (args[i] == "--from" || args[i] == "--to") && valueFollows) {
      const bool from = args[i] == "--from";
      const auto ms = ParseCount(args[++i], 0, INT32_MAX);
      if (!ms) return kBadTimeText + Shown(args[i]);
      if (from) options.fromMs = *ms;
      else options.toMs = *ms;
    } else if (forExport && args[i] == "--no-music") {
      options.withMusic = false;
    } else if (forExport && args[i] == "--codec" && valueFollows) {
      if (!IsExportCodec(args[++i])) return kBadCodecText + Shown(args[i]);
      options.codec = args[i];
    } else if (forExport && args[i] == "--jobs" && valueFollows) {
      const auto jobs = ParseCount(args[++i], 1, 64);
      if (!jobs) return kBadJobsText + Shown(args[i]);
      options.jobs = *jobs;
    } else if (!dataDirGiven && args[i].rfind("--", 0) != 0) {
      options.dataDir = args[i];
      dataDirGiven = true;
    } else {
      const bool missingValue = args[i].rfind("--", 0) == 0 && !valueFollows;
      return (missingValue ? kMissingValueText : kUnexpectedArgumentText) + Shown(args[i]);
    }
  }
  if (options.toMs && options.fromMs > *options.toMs)
    return kBadTimeText + Shown(std::to_string(options.fromMs) + ".." + std::to_string(*options.toMs));
  return "";
}

// The usage after what is wrong with the arguments.
int Usage(const std::string& fault) {
  std::fprintf(stderr, "quarnel: %s\n", fault.c_str());
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  std::atexit(CloseStandardOutput);
  std::setlocale(LC_NUMERIC, "");  // process-wide (README, "Process-wide state"): the numbers' separator
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool developmentMode = IsDevelopmentSwitch(args);
  if (developmentMode) args.erase(args.begin());
  if (developmentMode && !args.empty() && IsDevelopmentSwitch(args)) return Usage(kDevelopmentSwitchTwiceText);
  const std::string command = args.empty() ? "" : args[0];
  Options options;

  if (command == "--help" && args.size() == 1) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version" && args.size() == 1) {
    std::fputs(VersionText().c_str(), stdout);
    return 0;
  }
  if (command == "--new") {
    if (args.size() != 2 || args[1].empty()) return Usage();
    return RunNewDemo(args[1]);
  }
  if (command == "--check") {
    if (args.size() > 2) return Usage();
    return RunCheck(args.size() == 2 ? args[1] : DefaultDataDir());
  }
  if (command == "--print-frame") {
    const auto ms = args.size() >= 2 ? ParseCount(args[1], 0, INT32_MAX) : std::nullopt;
    if (!ms || args.size() > 3) return Usage();
    return RunPrintFrame(*ms, args.size() == 3 ? args[2] : DefaultDataDir(), developmentMode);
  }
  if (command == "--render") {
    const auto ms = args.size() >= 3 ? ParseCount(args[1], 0, INT32_MAX) : std::nullopt;
    if (!ms) return Usage();
    if (const std::string fault = ParseOptions(args, 3, options, false); !fault.empty()) return Usage(fault);
    return RunRender(*ms, args[2], options.rate, options.widthPx, options.heightPx, options.dataDir);
  }
  if (command == "--export") {
    if (args.size() < 2) return Usage();
    if (const std::string fault = ParseOptions(args, 2, options, true); !fault.empty()) return Usage(fault);
    return RunExport({args[1], options.rate, options.widthPx, options.heightPx, options.dataDir, options.fromMs,
                      options.toMs, options.codec, options.jobs, options.withMusic});
  }
  PlayOptions play;
  if (!TakePlayOptions(args, developmentMode, play) || args.size() > 1 || (!args.empty() && args[0].rfind("--", 0) == 0))
    return Usage();
  return RunDemoProgram(developmentMode, args.empty() ? DefaultDataDir() : args[0], play);
}
