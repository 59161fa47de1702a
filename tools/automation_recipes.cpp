#include "tools/automation_recipes.h"

#include <stdexcept>

#include "scene/decimal_text.h"
#include "scene/file_read.h"
#include "scene/param_table.h"
#include "scene/safe_file.h"
#include "scene/text_lines.h"

namespace {

constexpr KeyCurve kStep = KeyCurve::Step, kSmooth = KeyCurve::Smooth, kRamp = KeyCurve::Ramp;

// The index of the parameter of that short name; -1 for none.
int ParamIndex(const TScene1ParamIArray& table, std::string_view name) {
  for (int index = 0; index < kParamCount; ++index)
    if (ShortName(table[index].Name) == name) return index;
  return -1;
}

// Where the lines after the header begin: the header is the lines that begin with "//", a line ending at
// CR, with an LF right after it, as the reader takes them.
size_t BodyStart(std::string_view text) {
  size_t at = 0;
  while (text.substr(at, 2) == "//") {
    const size_t end = text.find('\r', at);
    if (end == std::string_view::npos) return text.size();
    at = end + 1;
    if (at < text.size() && text[at] == '\n') ++at;
  }
  return at;
}

// Reads a sequence file's text as the program does; "" or every fault it reports.
std::string ReadSequenceText(const std::string& path, const std::string& dataDir, const std::string& text,
                             SceneSequence& sequence, SequenceNotes& notes) {
  std::string faults;
  const auto fault = [&faults](const std::string& where, const std::string& message) {
    faults += (faults.empty() ? "" : "\n") + where + ": " + message;
  };
  const LoadReports reports{fault, fault, nullptr};
  try {
    TextLines lines(path, text);
    ReadSceneSequence(lines, dataDir, sequence, reports);
  } catch (const std::runtime_error& error) {  // ConversionError, RangeError
    return error.what();
  }
  TextLines lines(path, text);
  notes = SequenceNotesOf(&lines, sequence.SequenceEntries.size());
  return faults;
}

}  // namespace

const std::vector<AutomationRecipe>& DemoAutomationRecipes() {
  // clang-format off
  static const std::vector<AutomationRecipe> recipes = {
      // The wide lens shows the deep blue night around the ribbon; over six bars it narrows onto the
      // ribbon, settling as the name has drifted in.
      {"intro: the camera pulls in from the night onto the plasma ribbon", 0, 0,
       {{"ScreenProportionAdjust", {{0, 3, kSmooth}, {12000, 0}}}}},
      // A bar of the grid as it was, then the fog closes in, slowly and then fast, until the last beat
      // before the finale is violet alone.
      {"break: the violet fog swallows the grid before the finale drops", 8, 4,
       {{"FogDistanceEnd", {{0, 40, kStep}, {2000, 40, kRamp}, {7500, 3.5f}}}}},
  };
  // clang-format on
  return recipes;
}

std::string PutRecipeTracks(const std::vector<AutomationRecipe>& recipes, SceneSequence& sequence) {
  for (TSceneSeqEntry& entry : sequence.SequenceEntries) entry.Tracks.clear();
  const TScene1ParamIArray table = InitParamTable();
  for (const AutomationRecipe& recipe : recipes) {
    const std::string where = std::string("recipe \"") + recipe.title + "\": ";
    const std::string entryName = "entry " + std::to_string(recipe.entry);
    if (recipe.entry >= sequence.SequenceEntries.size()) return where + "the sequence has no " + entryName;
    TSceneSeqEntry& entry = sequence.SequenceEntries[recipe.entry];
    if (entry.PresetNumber != recipe.presetNumber)
      return where + entryName + " shows preset " + std::to_string(entry.PresetNumber) + ", not " +
             std::to_string(recipe.presetNumber);
    for (const RecipeTrack& track : recipe.tracks) {
      const std::string name = where + track.name;
      const int param = ParamIndex(table, track.name);
      if (param < 0) return name + ": no such parameter";
      if (FindTrack(entry.Tracks, param)) return name + ": a second track on " + entryName;
      if (track.keys.empty()) return name + ": no keys";
      AutomationTrack& made = TrackFor(entry.Tracks, param);
      for (const RecipeKey& key : track.keys) {
        const std::string at = name + ": the key at " + std::to_string(key.timeMs) + " ms";
        if (!made.Keys.empty() && key.timeMs < made.Keys.back().TimeMs) return at + " comes before the one above it";
        if (!ValueInKeyRange(param, key.value)) return at + " holds " + FormatShortest(key.value) + ", out of range";
        if (entry.EndTime < entry.StartTime || key.timeMs > entry.EndTime - entry.StartTime)
          return at + " comes after the end of " + entryName;
        made.Keys.push_back({key.timeMs, key.value, key.curve});
      }
    }
  }
  return "";
}

std::string WithHeaderOf(std::string_view fileText, const SceneSequence& sequence, const SequenceNotes& notes) {
  const std::string written = SceneSequenceText(sequence, notes);
  return written.substr(0, BodyStart(written)) + std::string(fileText.substr(BodyStart(fileText)));
}

std::string WriteRecipeKeys(const std::string& dataDir, const std::vector<AutomationRecipe>& recipes) {
  const std::string path = dataDir + "/sceneseq.txt";
  std::string before;
  if (std::string error = ReadWholeFile(path, kMaxTextFileBytes, before); !error.empty()) return error;
  SceneSequence sequence;
  SequenceNotes notes;
  if (std::string fault = ReadSequenceText(path, dataDir, before, sequence, notes); !fault.empty()) return fault;
  if (std::string fault = PutRecipeTracks(recipes, sequence); !fault.empty()) return path + ": " + fault;
  if (std::string fault = SequenceWriteFault(sequence); !fault.empty()) return path + ": " + fault;

  const std::string after = WithHeaderOf(before, sequence, notes);
  SceneSequence reread;
  SequenceNotes rereadNotes;
  if (std::string fault = ReadSequenceText(path, dataDir, after, reread, rereadNotes); !fault.empty())
    return path + ": the new key lines do not read back: " + fault;
  if (reread != sequence || rereadNotes != notes) return path + ": the new key lines do not read back as the recipes' keys";
  return after == before ? "" : ReplaceFile(path, after);
}
