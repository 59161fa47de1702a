#include "scene/key_lines.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "scene/decimal_text.h"
#include "scene/errors.h"
#include "scene/printable_text.h"
#include "scene/scene_messages.h"

namespace {

constexpr std::string_view kKeyWord = "// key";
constexpr int kFieldCount = 5;
constexpr size_t kShownChars = 40;  // of a bad field, in its message

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Quoted(std::string_view text) { return "'" + QuotedText(text, kShownChars) + "'"; }

std::string RangeText(int64_t minimum, int64_t maximum) {
  return kMsgOutOfRange + std::to_string(minimum) + ".." + std::to_string(maximum);
}

// A whole-number field within minimum..maximum.
int64_t WholeField(std::string_view text, const char* field, int64_t minimum, int64_t maximum,
                   const std::string& where) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool digits = end == text.data() + text.size();
  if (digits && error == std::errc::result_out_of_range)
    throw RangeError(where + field + std::string(text) + RangeText(minimum, maximum));
  if (!digits || error != std::errc())
    throw ConversionError(where + field + Quoted(text) + (ParseReal(text) ? kMsgNotAWholeNumber : kMsgNotANumber));
  if (value < minimum || value > maximum)
    throw RangeError(where + field + std::to_string(value) + RangeText(minimum, maximum));
  return value;
}

float ValueField(std::string_view text, int param, const std::string& where) {
  const std::optional<double> value = ParseReal(text);
  if (!value) throw ConversionError(where + kMsgKeyValue + Quoted(text) + kMsgNotANumber);
  if (ValueInKeyRange(param, *value)) return static_cast<float>(*value);
  if (EvaluationType(param) == ParamType::Sing)
    throw RangeError(where + kMsgKeyValue + std::string(text) + kMsgOutOfFloatRange);
  const KeyRange range = ParamKeyRange(param);
  throw RangeError(where + kMsgKeyValue + std::string(text) +
                   RangeText(int64_t(range.minimum), int64_t(range.maximum)) + kMsgKeyValueOf +
                   std::string(ShortName(InitParamTable()[param].Name)));
}

}  // namespace

bool IsKeyLine(std::string_view line) {
  return line.starts_with(kKeyWord) && (line.size() == kKeyWord.size() || IsBlank(line[kKeyWord.size()]));
}

std::string KeyLineText(size_t entry, int param, const AutomationKey& key) {
  return std::string(kKeyWord) + " " + std::to_string(entry) + " " + std::to_string(param) + " " +
         std::to_string(key.TimeMs) + " " + FormatShortest(key.Value) + " " +
         kKeyCurveNames[static_cast<int>(key.Curve)];
}

void KeyLineReader::Take(std::string_view line, const TextLines& lines) {
  path_ = lines.Path();
  const std::string where = lines.Where();
  const std::vector<std::string_view> fields = BlankSeparatedFields(line.substr(kKeyWord.size()));
  if (fields.size() != kFieldCount) throw ConversionError(where + kMsgKeyFields);
  Read read{lines.LineNumber(), 0, 0, {}};
  read.entry = static_cast<uint32_t>(WholeField(fields[0], kMsgKeyEntry, 0, kMaxSequenceEntries - 1, where));
  read.param = static_cast<int>(WholeField(fields[1], kMsgKeyParam, 0, kParamCount - 1, where));
  read.key.TimeMs = static_cast<uint32_t>(WholeField(fields[2], kMsgKeyTime, 0, kMaxEffectTime, where));
  read.key.Value = ValueField(fields[3], read.param, where);
  const std::optional<KeyCurve> curve = CurveNamed(fields[4]);
  if (!curve) throw ConversionError(where + kMsgKeyCurve + Quoted(fields[4]) + kMsgKeyNotACurve);
  read.key.Curve = *curve;
  keys_.push_back(read);
}

void KeyLineReader::PutInto(std::vector<TSceneSeqEntry>& entries) const {
  std::vector<AutomationTracks> tracks(entries.size());
  for (const Read& read : keys_) {
    const std::string where = TextLines::LinePrefix(path_, read.lineNumber);
    if (read.entry >= entries.size())
      throw RangeError(where + kMsgKeyEntry + std::to_string(read.entry) + RangeText(0, int64_t(entries.size()) - 1) +
                       kMsgKeyEntriesRead);
    AutomationTrack& track = TrackFor(tracks[read.entry], read.param);
    if (!track.Keys.empty() && read.key.TimeMs < track.Keys.back().TimeMs)
      throw RangeError(where + kMsgKeyTime + std::to_string(read.key.TimeMs) + kMsgKeyBeforePrevious +
                       std::to_string(track.Keys.back().TimeMs) + kMsgKeyTimeOrder);
    track.Keys.push_back(read.key);
  }
  for (size_t k = 0; k < entries.size(); ++k) entries[k].Tracks = std::move(tracks[k]);
}
