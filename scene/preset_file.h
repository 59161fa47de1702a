#pragma once
// Scene preset files: one TScene1ParamIArray as 2 comment lines and 77 blocks of six CR LF lines (name,
// base value, oscillator form, osc1, osc2, a line of 31 tildes). Numbers use the locale's separator.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/load_reports.h"
#include "scene/param_table.h"
#include "scene/text_lines.h"

inline constexpr int kMaxPresets = 255;

// The name of preset number's file: "scene" + number + ".txt".
inline std::string PresetFileName(int number) { return "scene" + std::to_string(number) + ".txt"; }

// The file of preset number in dataDir: dataDir + "/" + PresetFileName(number).
inline std::string PresetFilePath(const std::string& dataDir, int number) {
  return dataDir + "/" + PresetFileName(number);
}

// The preset file text of params.
std::string ScenePresetText(const TScene1ParamIArray& params);

// Writes the file with ReplaceFile (scene/safe_file.h), so a failed write never destroys the previous
// file. Returns the error text, empty on success: path + ": " + the reason.
[[nodiscard]] std::string WriteScenePreset(const std::string& path, const TScene1ParamIArray& params);

// Reads one preset from lines into target, entry by entry as it goes. Raises ConversionError or
// RangeError (with file and line) on a bad number; entries read before the fault keep their new values.
void ReadScenePreset(TextLines& lines, TScene1ParamIArray& target);

// Reads basePath + N + ".txt" for N = 0, 1, ... until a file is missing (at most 255 presets; a further
// file is reported as a notice) into presets, and returns how many were read. A file that exists but
// cannot be read (a link that leads nowhere too) is a FatalError report; a bad number is a ReadError
// report.
uint8_t LoadScenePresets(const std::string& basePath, std::vector<TScene1ParamIArray>& presets,
                         const LoadReports& reports);

// The fixed-point text of a base value, with the precision its name's type prefix asks for; a real
// number with more digits where they are needed to read back as the same float (FormatFixedExact).
std::string FormatBaseValue(const ParamName& name, float value);
// The fixed-point text of an oscillator value, as a real base value.
std::string FormatOscValue(float value);
