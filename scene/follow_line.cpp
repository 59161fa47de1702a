#include "scene/follow_line.h"

#include <cmath>
#include <optional>
#include <vector>

#include "scene/decimal_text.h"
#include "scene/scene_messages.h"
#include "scene/sequence.h"
#include "scene/text_lines.h"

namespace {

// The smallest magnitude that rounds to an infinite float: FLT_MAX and half a step further.
constexpr double kFloatOverflow = 0x1.ffffffp+127;

// A real that rounds to a finite 32-bit float (the shortest text of FLT_MAX lies a little above it).
std::optional<float> FloatField(std::string_view text) {
  const std::optional<double> value = ParseReal(text);
  if (!value || !(std::fabs(*value) < kFloatOverflow)) return std::nullopt;
  return float(*value);
}

std::string Fault(std::string_view field, const char* message) { return "'" + std::string(field) + "'" + message; }

}  // namespace

bool IsFollowLine(std::string_view line) { return line.substr(0, kFollowLineStart.size()) == kFollowLineStart; }

std::string ParseFollowLine(std::string_view line, FollowLine& parsed) {
  if (!IsFollowLine(line)) return kMsgFollowFields;
  const std::vector<std::string_view> fields = BlankSeparatedFields(line.substr(kFollowLineStart.size()));
  if (fields.size() != 5) return kMsgFollowFields;
  const std::optional<int32_t> entry = ParseInteger(fields[0]);
  if (!entry || *entry < 0 || *entry >= kMaxSequenceEntries) return Fault(fields[0], kMsgFollowEntry);
  const std::optional<int32_t> param = ParseInteger(fields[1]);
  if (!param || *param < 0 || *param >= kParamCount) return Fault(fields[1], kMsgFollowParam);
  const std::optional<SoundSource> source = SourceNamed(fields[2]);
  if (!source) return Fault(fields[2], kMsgFollowSource);
  const std::optional<float> gain = FloatField(fields[3]);
  if (!gain) return Fault(fields[3], kMsgFollowGain);
  const std::optional<float> offset = FloatField(fields[4]);
  if (!offset) return Fault(fields[4], kMsgFollowOffset);
  parsed = {uint8_t(*entry), {uint8_t(*param), *source, *gain, *offset}};
  return "";
}

std::string FollowLineText(const FollowLine& line) {
  const ParamFollow& follow = line.Follow;
  return std::string(kFollowLineStart) + std::to_string(line.Entry) + " " + std::to_string(follow.Param) + " " +
         kSoundSourceNames[size_t(follow.Source)] + " " + FormatShortest(follow.Gain) + " " +
         FormatShortest(follow.Offset);
}
