#pragma once
// Small playable data folders for the tests that run the real program: three textures, a sequence with
// ratio 8, and a real MP3 (a 440 Hz tone made with sox and lame) named by its absolute path. The demo
// folder plays preset 0 (the default set unless given) in one entry over the whole demo; the effects
// folder plays each render-to-texture effect and each sprite layer alone for a second.
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "scene/preset_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/bmp_writer.h"

inline std::string DemoMp3Path(const std::string& dir) { return dir + "/song.mp3"; }

// Sets the parameter named "type:shortName" (base value, oscillator form and values).
inline void SetParamValue(TScene1ParamIArray& params, const std::string& shortName, float base, uint8_t oscForm = 0,
                          float osc1 = 0, float osc2 = 0) {
  for (TScene1ParamInterface& param : params) {
    if (ShortName(param.Name) != shortName) continue;
    param.BaseVal = base;
    param.OscForm = oscForm;
    param.Osc1 = osc1;
    param.Osc2 = osc2;
  }
}

// Makes byte:BG_g of a preset file written from the default table 3e9 * sin(t * 0.001): it first rounds
// above the 32-bit range at effect time 798 ms.
inline void MakeGreenOverflowAt798Ms(const std::string& presetPath) {
  std::string preset = ReadFile(presetPath);
  preset.replace(preset.find("byte:BG_g\r\n"), 36, CrLf({"byte:BG_g", "0", "1", "0.0010", "3000000000"}));
  WriteFile(presetPath, preset);
}

// The names in folder of an export's temporaries (".partial-..."), which a finished export leaves none of.
inline std::vector<std::string> ExportTemporariesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find("partial") != std::string::npos) names.push_back(entry.path().filename());
  return names;
}

// Textures, the MP3 of lengthMs and a sequence of these 9-line entry blocks. Empty text, or what went wrong.
inline std::string WriteDemoFiles(const std::string& dir, uint32_t lengthMs, const std::vector<std::string>& entries) {
  std::filesystem::create_directories(dir);
  WriteRingAndWhiteTextures(dir);
  WriteTestBmp(dir + "/texture2.bmp", 16, 16, std::vector<uint32_t>(16 * 16, 0x20A040), 24);
  std::string sequence =
      CrLf({"// test demo", std::to_string(lengthMs), "ratio", "8", "mp3", DemoMp3Path(dir), "entries"});
  for (const std::string& line : entries) sequence += line + "\r\n";
  WriteFile(dir + "/sceneseq.txt", sequence);
  const double seconds = std::ceil(lengthMs / 1000.0);
  const CommandResult made =
      RunCommand("sox -n -r 44100 -c 2 '" + dir + "/song.wav' synth " + std::to_string(seconds) +
                 " sine 440 && lame --quiet -b 128 '" + dir + "/song.wav' '" + DemoMp3Path(dir) + "'");
  std::filesystem::remove(dir + "/song.wav");
  return made.status == 0 ? "" : "sox or lame failed: " + made.output;
}

// Returns an empty text, or what went wrong.
inline std::string MakeDemoFolder(const std::string& dir, uint32_t lengthMs,
                                  const TScene1ParamIArray& preset0 = InitParamTable()) {
  std::filesystem::create_directories(dir);
  if (const std::string error = WriteScenePreset(dir + "/scene0.txt", preset0); !error.empty()) return error;
  const std::string length = std::to_string(lengthMs);
  return WriteDemoFiles(dir, lengthMs, {"0", "0", length, "1", "0", "0", "0", "0", "~~~"});
}

// Presets 0..5 use render-to-texture effect 0..5 (target size factors 5..10), 6 shows only sprite layer 1,
// 7 only sprite layer 2; none moves its geometry, so a moment looks the same in every frame. Entry k
// shows preset k from k * 1000 to k * 1000 + 999 ms.
constexpr int kEffectsFolderEntries = 8;
inline std::string MakeEffectsFolder(const std::string& dir) {
  std::filesystem::create_directories(dir);
  std::vector<std::string> entries;
  for (int k = 0; k < kEffectsFolderEntries; ++k) {
    TScene1ParamIArray preset = InitParamTable();
    SetParamValue(preset, "_TweakX", 2.928f);  // still geometry: built once, its random colours drawn once
    const bool r2t = k < 6;
    SetParamValue(preset, "UseR2TEffects", r2t ? 1 : 0);
    SetParamValue(preset, "R2TEffectPreset", float(r2t ? k : 0));
    SetParamValue(preset, "R2tTextureSizeTweakFactor", float(5 + k));
    SetParamValue(preset, "SpriteAlpha", k == 7 ? 0 : 205);
    SetParamValue(preset, "SpriteAlpha2", k == 6 ? 0 : 101);
    if (!r2t) SetParamValue(preset, "MainObject", 0);
    if (const std::string error = WriteScenePreset(dir + "/scene" + std::to_string(k) + ".txt", preset); !error.empty())
      return error;
    const std::string k000 = std::to_string(k * 1000);
    entries.insert(entries.end(),
                   {std::to_string(k), k000, std::to_string(k * 1000 + 999), "1", "0", "0", "0", "0", "~~~"});
  }
  return WriteDemoFiles(dir, kEffectsFolderEntries * 1000, entries);
}
