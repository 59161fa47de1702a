#include "engine/play_options.h"

#include "scene/decimal_text.h"

namespace {
constexpr int32_t kMaxFrameStepMs = 60000;
constexpr int32_t kMaxFps = 1000;
}

bool TakePlayOptions(std::vector<std::string>& args, bool developmentMode, PlayOptions& options) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--music") {
      if (!developmentMode) return false;
      options.music = true;
    } else if (args[i] == "--start" || args[i] == "--frame-step") {
      const bool start = args[i] == "--start";
      const std::optional<int32_t> ms = i + 1 < args.size() ? ParseInteger(args[i + 1]) : std::nullopt;
      if (!ms || *ms < 0 || (!start && *ms > kMaxFrameStepMs)) return false;
      (start ? options.startMs : options.frameStepMs) = static_cast<uint32_t>(*ms);
      ++i;
    } else if (args[i] == "--max-fps") {
      const std::optional<int32_t> fps = i + 1 < args.size() ? ParseInteger(args[i + 1]) : std::nullopt;
      if (!fps || *fps < 0 || *fps > kMaxFps) return false;
      options.maxFps = static_cast<uint32_t>(*fps);
      ++i;
    } else {
      rest.push_back(args[i]);
    }
  }
  args = std::move(rest);
  return true;
}
