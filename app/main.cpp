// quarnel: program entry. Command-line tools run without a window; everything else starts the demo.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "scene/decimal_text.h"

namespace {

constexpr const char* kUsage =
    "usage: quarnel [-d] --check [DATA_DIR]\n"
    "       quarnel [-d] --print-frame MS [DATA_DIR]\n";

std::optional<uint32_t> ParseMs(const std::string& text) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value || *value < 0) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  // "-d" (any case) as the first argument selects development mode.
  const bool developmentMode = !args.empty() && (args[0] == "-d" || args[0] == "-D");
  if (developmentMode) args.erase(args.begin());

  if (!args.empty() && args[0] == "--check") {
    if (args.size() > 2) return Usage();
    return RunCheck(args.size() == 2 ? args[1] : "data");
  }
  if (!args.empty() && args[0] == "--print-frame") {
    if (args.size() < 2 || args.size() > 3) return Usage();
    const std::optional<uint32_t> ms = ParseMs(args[1]);
    if (!ms) return Usage();
    return RunPrintFrame(*ms, args.size() == 3 ? args[2] : "data", developmentMode);
  }
  return Usage();
}
