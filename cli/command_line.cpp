#include "cli/command_line.h"

#include <optional>
#include <set>

#include "cli/cli_messages.h"
#include "cli/export_codecs.h"
#include "scene/decimal_text.h"
#include "scene/printable_text.h"
#include "scene/sequence.h"
#include "ui/launcher_lists.h"

namespace {

constexpr uint32_t kMaxFrameStepMs = 60000;
constexpr uint32_t kMaxFps = 240;
constexpr uint32_t kMaxFpsCap = 1000;  // --max-fps
constexpr uint32_t kMaxJobs = 64;
constexpr uint32_t kMaxSidePx = 8192;

// An argument as a message shows it.
std::string Shown(const std::string& argument) { return "'" + QuotedText(argument, 40) + "'"; }

std::optional<uint32_t> WholeNumber(const std::string& text, uint32_t minimum, uint32_t maximum) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value || *value < 0 || static_cast<uint32_t>(*value) < minimum || static_cast<uint32_t>(*value) > maximum)
    return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// name: 'text' is not a whole number of milliseconds 0..maximum
std::string NotMilliseconds(const std::string& name, const std::string& text, uint32_t maximum) {
  return name + ": " + Shown(text) + kNotMillisecondsText + std::to_string(maximum);
}

// "640x480" into its two sides, each 1..8192.
bool ReadSize(const std::string& text, uint32_t& widthPx, uint32_t& heightPx) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const auto w = WholeNumber(text.substr(0, x), 1, kMaxSidePx), h = WholeNumber(text.substr(x + 1), 1, kMaxSidePx);
  if (!w || !h) return false;
  widthPx = *w, heightPx = *h;
  return true;
}

// "60" or "30000/1001": 1..240 frames per second.
std::optional<FrameRate> ReadRate(const std::string& text) {
  const size_t slash = text.find('/');
  const auto numerator = WholeNumber(text.substr(0, slash), 1, INT32_MAX);
  const auto denominator =
      slash == std::string::npos ? std::optional<uint32_t>(1) : WholeNumber(text.substr(slash + 1), 1, INT32_MAX);
  if (!numerator || !denominator || *numerator < *denominator || *numerator > uint64_t(kMaxFps) * *denominator)
    return std::nullopt;
  return FrameRate{*numerator, *denominator};
}

bool IsOptionLike(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

struct CommandName {
  const char* name;
  const char* shortName;
  Command command;
};
constexpr CommandName kCommands[] = {
    {"--check", nullptr, Command::Check},   {"--print-frame", nullptr, Command::PrintFrame},
    {"--render", nullptr, Command::Render}, {"--export", nullptr, Command::Export},
    {"--new", nullptr, Command::New},       {"--guess-bpm", nullptr, Command::GuessBpm},
    {"--help", "-h", Command::Help},        {"--version", "-v", Command::Version},
};

const CommandName* FindCommand(const std::string& argument) {
  for (const CommandName& each : kCommands)
    if (argument == each.name || (each.shortName && argument == each.shortName)) return &each;
  return nullptr;
}

// The arguments after a command, read one by one.
class Reader {
 public:
  Reader(const std::vector<std::string>& args, size_t first, CommandLine& line)
      : args_(args), next_(first), line_(line) {}

  // The command's own values (MS, OUT.png, OUT, DIR), in order.
  std::string ReadValues(const std::string& command) {
    switch (line_.command) {
      case Command::PrintFrame: return ReadTime(command);
      case Command::Render: {
        if (std::string fault = ReadTime(command); !fault.empty()) return fault;
        return ReadTarget(command, "OUT.png");
      }
      case Command::Export: return ReadTarget(command, "OUT.mp4 or DIR/");
      case Command::New: return ReadTarget(command, "DIR");
      default: return "";
    }
  }

  // The options and the data folder after the values.
  std::string ReadRest() {
    bool sizeGiven = false, fpsGiven = false;
    while (next_ < args_.size()) {
      const std::string& argument = args_[next_++];
      std::string fault;
      if (argument == "--start" || argument == "--frame-step") fault = ReadPlayTime(argument);
      else if (argument == "--max-fps") fault = ReadFrameCap(argument);
      else if (argument == "--from" || argument == "--to" || argument == "--codec" || argument == "--jobs" ||
               argument == "--no-music")
        fault = ReadExportOption(argument);
      else if (argument == "--music") fault = ReadMusic();
      else if (argument == "--osc" || argument == "--osc-address") fault = ReadRemoteControl(argument);
      else if (argument == "--fps" || argument == "--size")
        fault = ReadPicture(argument, argument == "--fps" ? fpsGiven : sizeGiven);
      else if (IsDevelopmentSwitch({argument})) fault = kDevelopmentSwitchPlaceText;
      else if (FindCommand(argument)) fault = argument + kCommandPlaceText;
      else if (IsOptionLike(argument)) fault = QuotedText(argument, 40) + kUnknownOptionText;
      else fault = ReadDataDir(argument);
      if (!fault.empty()) return fault;
    }
    if (line_.toMs && line_.fromMs > *line_.toMs) return "--from" + std::string(kFromAfterToText);
    if (given_.count("--osc-address") && !line_.play.oscPort) return kOscAddressAloneText;
    return "";
  }

 private:
  // The next argument as the value of name ("--start: MS is missing after it" when there is none).
  std::optional<std::string> Value(const std::string& name, const char* what, std::string& fault) {
    if (next_ >= args_.size() || (IsOptionLike(args_[next_]) && !ParseInteger(args_[next_]))) {
      fault = name + ": " + what + kValueMissingText;
      return std::nullopt;
    }
    return args_[next_++];
  }

  std::string ReadTime(const std::string& command) {
    std::string fault;
    const std::optional<std::string> text = Value(command, "MS", fault);
    if (!text) return fault;
    const auto ms = WholeNumber(*text, 0, kMaxEffectTime);
    if (!ms) return NotMilliseconds(command, *text, kMaxEffectTime);
    line_.demoTimeMs = *ms;
    return "";
  }

  std::string ReadTarget(const std::string& command, const char* what) {
    std::string fault;
    const std::optional<std::string> text = Value(command, what, fault);
    if (!text) return fault;
    if (text->empty()) return command + ": " + kEmptyNameText;
    line_.target = *text;
    return "";
  }

  std::string ReadPlayTime(const std::string& name) {
    if (line_.command != Command::Play) return name + kOnlyForPlayText;
    const bool start = name == "--start";
    std::optional<uint32_t>& slot = start ? line_.play.startMs : line_.play.frameStepMs;
    if (slot) return name + kGivenTwiceText;
    std::string fault;
    const std::optional<std::string> text = Value(name, "MS", fault);
    if (!text) return fault;
    const uint32_t maximum = start ? kMaxEffectTime : kMaxFrameStepMs;
    slot = WholeNumber(*text, 0, maximum);
    return slot ? "" : NotMilliseconds(name, *text, maximum);
  }

  std::string ReadFrameCap(const std::string& name) {
    if (line_.command != Command::Play) return name + kOnlyForPlayText;
    if (line_.play.maxFps) return name + kGivenTwiceText;
    std::string fault;
    const std::optional<std::string> text = Value(name, "N", fault);
    if (!text) return fault;
    line_.play.maxFps = WholeNumber(*text, 0, kMaxFpsCap);
    return line_.play.maxFps ? "" : name + ": " + Shown(*text) + kBadMaxFpsText;
  }

  std::string ReadExportOption(const std::string& name) {
    if (line_.command != Command::Export) return name + kOnlyForExportText;
    if (!given_.insert(name).second) return name + kGivenTwiceText;
    if (name == "--no-music") {
      line_.withMusic = false;
      return "";
    }
    std::string fault;
    const char* what = name == "--codec" ? "CODEC" : name == "--jobs" ? "N" : "MS";
    const std::optional<std::string> text = Value(name, what, fault);
    if (!text) return fault;
    if (name == "--codec") {
      if (!IsExportCodec(*text)) return name + ": " + Shown(*text) + kBadCodecText;
      line_.codec = *text;
    } else if (name == "--jobs") {
      const auto jobs = WholeNumber(*text, 1, kMaxJobs);
      if (!jobs) return name + ": " + Shown(*text) + kBadJobsText;
      line_.jobs = *jobs;
    } else {
      const auto ms = WholeNumber(*text, 0, kMaxEffectTime);
      if (!ms) return NotMilliseconds(name, *text, kMaxEffectTime);
      if (name == "--from") line_.fromMs = *ms;
      else line_.toMs = *ms;
    }
    return "";
  }

  std::string ReadMusic() {
    const std::string name = "--music";
    if (line_.command != Command::Play || !line_.developmentMode) return name + kOnlyForDevelopmentText;
    if (line_.play.music) return name + kGivenTwiceText;
    line_.play.music = true;
    return "";
  }

  std::string ReadRemoteControl(const std::string& name) {
    if (line_.command != Command::Play || !line_.developmentMode) return name + kOnlyForRemoteControlText;
    if (!given_.insert(name).second) return name + kGivenTwiceText;
    const bool port = name == "--osc";
    std::string fault;
    const std::optional<std::string> text = Value(name, port ? "PORT" : "ADDR", fault);
    if (!text) return fault;
    if (!port) {
      if (text->empty()) return name + ": " + kEmptyNameText;
      line_.play.oscAddress = *text;
      return "";
    }
    const std::optional<uint32_t> number = WholeNumber(*text, 1, UINT16_MAX);
    if (!number) return name + ": " + Shown(*text) + kBadPortText;
    line_.play.oscPort = static_cast<uint16_t>(*number);
    return "";
  }

  std::string ReadPicture(const std::string& name, bool& given) {
    if (line_.command != Command::Render && line_.command != Command::Export) return name + kOnlyForPicturesText;
    if (given) return name + kGivenTwiceText;
    given = true;
    const bool fps = name == "--fps";
    std::string fault;
    const std::optional<std::string> text = Value(name, fps ? "N" : "WxH", fault);
    if (!text) return fault;
    if (!fps) return ReadSize(*text, line_.widthPx, line_.heightPx) ? "" : name + ": " + Shown(*text) + kBadSizeText;
    const std::optional<FrameRate> rate = ReadRate(*text);
    if (!rate) return name + ": " + Shown(*text) + kBadFpsText;
    line_.rate = *rate;
    return "";
  }

  std::string ReadDataDir(const std::string& argument) {
    if (line_.command == Command::New || line_.command == Command::Help || line_.command == Command::Version ||
        !line_.dataDir.empty())
      return Shown(argument) + kUnexpectedArgumentText;
    if (argument.empty()) return Shown(argument) + kEmptyDataDirText;
    line_.dataDir = argument;
    return "";
  }

  const std::vector<std::string>& args_;
  size_t next_;
  CommandLine& line_;
  std::set<std::string> given_;  // the export's and the remote control's options read so far
};

}  // namespace

std::string ReadCommandLine(const std::vector<std::string>& args, CommandLine& line) {
  line = CommandLine{};
  size_t first = 0;
  if (!args.empty() && IsDevelopmentSwitch(args)) line.developmentMode = true, first = 1;
  std::string commandName;
  if (const CommandName* command = first < args.size() ? FindCommand(args[first]) : nullptr)
    line.command = command->command, commandName = args[first++];
  if (line.developmentMode && line.command != Command::Play && line.command != Command::PrintFrame)
    return commandName + kNoDevelopmentModeText;
  Reader reader(args, first, line);
  if (std::string fault = reader.ReadValues(commandName); !fault.empty()) return fault;
  return reader.ReadRest();
}
