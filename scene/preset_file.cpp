#include "scene/preset_file.h"

#include "scene/decimal_text.h"
#include "scene/errors.h"
#include "scene/safe_file.h"
#include "scene/scene_messages.h"

namespace {
constexpr const char* kHeader1 = "// dravel' tiny engine [scene preset v1.1]";
constexpr const char* kHeader2 = "// baseval, oscform, osc1, osc2";
constexpr const char* kSeparator = "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~";
constexpr const char* kLineEnd = "\r\n";
}  // namespace

std::string FormatBaseValue(const ParamName& name, float value) {
  switch (TypeOfName(name)) {
    case ParamType::Bool: return FormatFixed(value, 1, 0);
    case ParamType::Byte: return FormatFixed(value, 3, 0);
    case ParamType::Word: return FormatFixed(value, 5, 0);
    // A name with an unknown prefix keeps its value at the real-number precision rather than losing it.
    default: return FormatFixedExact(value, 4, 4);
  }
}

std::string FormatOscValue(float value) { return FormatFixedExact(value, 4, 4); }

std::string ScenePresetText(const TScene1ParamIArray& params) {
  std::string text = std::string(kHeader1) + kLineEnd + kHeader2 + kLineEnd;
  for (const TScene1ParamInterface& param : params) {
    for (const std::string& line :
         {param.Name.Text(), FormatBaseValue(param.Name, param.BaseVal), std::to_string(param.OscForm),
          FormatOscValue(param.Osc1), FormatOscValue(param.Osc2), std::string(kSeparator)})
      text += line + kLineEnd;
  }
  return text;
}

std::string WriteScenePreset(const std::string& path, const TScene1ParamIArray& params) {
  return ReplaceFile(path, ScenePresetText(params));
}

void ReadScenePreset(TextLines& lines, TScene1ParamIArray& target) {
  lines.SkipComments();
  for (TScene1ParamInterface& param : target) {
    param.Name = ParamName(lines.Next());
    param.BaseVal = lines.NextFloat();
    param.OscForm = static_cast<uint8_t>(lines.NextInteger(0, UINT8_MAX));
    param.Osc1 = lines.NextFloat();
    param.Osc2 = lines.NextFloat();
    lines.Next();  // separator, whatever it holds
  }
}

uint8_t LoadScenePresets(const std::string& basePath, std::vector<TScene1ParamIArray>& presets,
                         const LoadReports& reports) {
  presets.assign(kMaxPresets, TScene1ParamIArray{});
  int count = 0;
  for (;; ++count) {
    const std::string path = basePath + std::to_string(count) + ".txt";
    if (!EntryExists(path)) break;
    if (count == kMaxPresets) {
      reports.Notice(path, path + kMsgTooManyPresets);
      break;
    }
    std::optional<TextLines> lines;
    int errorCode = 0;
    const std::string readError = TextLines::FromFile(path, lines, &errorCode);
    if (!readError.empty()) {
      reports.FatalError(path, kMsgPresetLoadFailed + std::to_string(count) + kMsgPresetLoadFailedCode +
                                   std::to_string(errorCode) + " (" + readError + ")");
      continue;
    }
    try {
      ReadScenePreset(*lines, presets[count]);
    } catch (const std::runtime_error& error) {  // ConversionError or RangeError
      reports.ReadError(error.what());
    }
  }
  presets.resize(count);
  return static_cast<uint8_t>(count);
}
