#include "authoring/controllers_file.h"

#include <cmath>
#include <iterator>
#include <optional>
#include <sstream>

#include "authoring/authoring_messages.h"
#include "scene/decimal_text.h"

namespace {

using Words = std::vector<std::string>;

Words Split(std::string_view line) {
  std::istringstream stream{std::string(line)};
  return Words(std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>());
}

// Reads the words of one line in order; the first fault stops it.
class LineReader {
 public:
  explicit LineReader(Words words) : words_(std::move(words)) {}
  bool Ok() const { return fault_.empty(); }
  const std::string& Fault() const { return fault_; }
  bool AtEnd() const { return next_ == words_.size(); }
  std::string Word() {
    if (AtEnd()) Fail(kMsgControllersLineEnds);
    return Ok() && !AtEnd() ? words_[next_++] : "";
  }
  std::optional<int> Whole(int minimum, int maximum, const char* what) {
    const std::string word = Word();
    const std::optional<int32_t> value = Ok() ? ParseInteger(word) : std::nullopt;
    if (Ok() && (!value || *value < minimum || *value > maximum))
      Fail(std::string(what) + " '" + word + "'" + kMsgControllersOutside + std::to_string(minimum) + ".." +
           std::to_string(maximum));
    return Ok() ? value : std::nullopt;
  }
  std::optional<double> Real(const char* what) {
    const std::string word = Word();
    const std::optional<double> value = Ok() ? ParseReal(word) : std::nullopt;
    if (Ok() && (!value || !std::isfinite(*value))) Fail(std::string(what) + " '" + word + "'" + kMsgControllersNotANumber);
    return Ok() ? value : std::nullopt;
  }
  void Fail(const std::string& fault) {
    if (Ok()) fault_ = fault;
  }

 private:
  Words words_;
  size_t next_ = 0;
  std::string fault_;
};

void ReadControl(LineReader& line, MidiControl& control) {
  const std::string kind = line.Word();
  if (kind == "cc") control.kind = MidiEventKind::Control;
  else if (kind == "note") control.kind = MidiEventKind::Note;
  else if (kind == "bend") control.kind = MidiEventKind::Bend;
  else line.Fail("'" + kind + "'" + kMsgControllersNoControl);
  control.channel = static_cast<uint8_t>(line.Whole(1, 16, kMsgControllersChannel).value_or(1) - 1);
  if (control.kind != MidiEventKind::Bend)
    control.number = static_cast<uint8_t>(line.Whole(0, 127, kMsgControllersNumber).value_or(0));
}

void ReadRange(LineReader& line, ControllerMapping& mapping) {
  mapping.target.param = line.Whole(0, kParamCount - 1, kMsgControllersParam).value_or(0);
  mapping.minimum = line.Real(kMsgControllersMinimum).value_or(0);
  mapping.maximum = line.Real(kMsgControllersMaximum).value_or(0);
  if (!line.Ok() || mapping.target.kind != TargetKind::BaseVal) return;
  for (const double end : {mapping.minimum, mapping.maximum}) {
    if (ValueInKeyRange(mapping.target.param, end)) continue;
    const KeyRange keys = ParamKeyRange(mapping.target.param);
    line.Fail(FormatShortest(static_cast<float>(end)) + kMsgControllersOutside + FormatShortest(static_cast<float>(keys.minimum)) +
              ".." + FormatShortest(static_cast<float>(keys.maximum)));
  }
}

void ReadTarget(LineReader& line, ControllerMapping& mapping) {
  const std::string name = line.Word();
  ControllerTarget& target = mapping.target;
  for (int kind = 0; kind < static_cast<int>(std::size(kTargetKindNames)); ++kind)
    if (name == kTargetKindNames[kind]) target.kind = static_cast<TargetKind>(kind);
  for (int action = 0; action < kButtonActionCount; ++action)
    if (name == kButtonActionNames[action]) {
      target.kind = TargetKind::Button;
      target.button = static_cast<ButtonAction>(action);
    }
  const bool known = target.kind != TargetKind::BaseVal || name == kTargetKindNames[0];
  if (!known) return line.Fail("'" + name + "'" + kMsgControllersNoTarget);
  if (IsParamTarget(target)) ReadRange(line, mapping);
  if (target.kind == TargetKind::Button && target.button == ButtonAction::Preset)
    target.preset = line.Whole(0, 255, kMsgControllersPreset).value_or(0);
  if (mapping.control.kind == MidiEventKind::Note && IsValueTarget(target)) line.Fail(kMsgControllersNoteMovesNoValue);
  if (mapping.control.kind == MidiEventKind::Bend && !IsValueTarget(target)) line.Fail(kMsgControllersBendPressesNoButton);
}

void ReadPosition(LineReader& line, ControllerMapping& mapping) {
  if (line.AtEnd() || !line.Ok()) return;
  if (line.Word() != "at") return line.Fail(kMsgControllersTrailing);
  const std::optional<double> position = line.Real(kMsgControllersPosition);
  if (position && (*position < 0 || *position > 1)) line.Fail(kMsgControllersPositionRange);
  mapping.position = position;
  if (line.Ok() && !line.AtEnd()) line.Fail(kMsgControllersTrailing);
}

std::string_view WithoutLineEnd(std::string_view line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

std::string RangeText(const ControllerMapping& mapping) {
  return " " + std::to_string(mapping.target.param) + " " + FormatShortest(static_cast<float>(mapping.minimum)) +
         " " + FormatShortest(static_cast<float>(mapping.maximum));
}

std::string MappingLine(const ControllerMapping& mapping) {
  static constexpr const char* kKinds[] = {"cc", "note", "bend"};
  const MidiControl& control = mapping.control;
  std::string line = std::string(kKinds[static_cast<int>(control.kind)]) + " " + std::to_string(control.channel + 1);
  if (control.kind != MidiEventKind::Bend) line += " " + std::to_string(control.number);
  const ControllerTarget& target = mapping.target;
  if (target.kind == TargetKind::Button) {
    line += std::string(" ") + kButtonActionNames[static_cast<int>(target.button)];
    if (target.button == ButtonAction::Preset) line += " " + std::to_string(target.preset);
  } else {
    line += std::string(" ") + kTargetKindNames[static_cast<int>(target.kind)];
    if (IsParamTarget(target)) line += RangeText(mapping);
  }
  if (mapping.position) line += " at " + FormatShortest(static_cast<float>(*mapping.position));
  return line + "\n";
}

}  // namespace

ControllersRead ReadControllers(std::string_view text, const std::string& path) {
  ControllersRead read;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = WithoutLineEnd(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    const Words words = Split(line);
    if (words.empty() || words[0][0] == '#') continue;
    LineReader reader(words);
    ControllerMapping mapping;
    ReadControl(reader, mapping.control);
    ReadTarget(reader, mapping);
    ReadPosition(reader, mapping);
    if (reader.Ok() && !reader.AtEnd()) reader.Fail(kMsgControllersTrailing);
    if (reader.Ok()) {
      read.mappings.push_back(mapping);
      continue;
    }
    read.refusedLines.emplace_back(line);
    read.faults.push_back(path + ":" + std::to_string(number) + ": " + reader.Fault() + kMsgControllersLineKept);
  }
  return read;
}

std::string ControllersText(const ControllerMap& map) {
  std::string text = kControllersFileHeader;
  for (const ControllerMapping& mapping : map.mappings) text += MappingLine(mapping);
  for (const std::string& line : map.refusedLines) text += line + "\n";
  return text;
}
