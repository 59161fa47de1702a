#pragma once
// A small playable data folder for the tests that run the real program: preset 0 (the default set),
// three textures, a sequence of one entry over the whole demo with ratio 8, and a real MP3 (a 440 Hz
// tone made with sox and lame) named by its absolute path.
#include <cmath>
#include <filesystem>
#include <string>

#include "scene/preset_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "tests/render/bmp_writer.h"

inline std::string DemoMp3Path(const std::string& dir) { return dir + "/song.mp3"; }

// Returns an empty text, or what went wrong.
inline std::string MakeDemoFolder(const std::string& dir, uint32_t lengthMs) {
  std::filesystem::create_directories(dir);
  if (const std::string error = WriteScenePreset(dir + "/scene0.txt", InitParamTable()); !error.empty()) return error;
  WriteRingAndWhiteTextures(dir);
  WriteTestBmp(dir + "/texture2.bmp", 16, 16, std::vector<uint32_t>(16 * 16, 0x20A040), 24);
  const std::string length = std::to_string(lengthMs);
  WriteFile(dir + "/sceneseq.txt", CrLf({"// test demo", length, "ratio", "8", "mp3", DemoMp3Path(dir), "entries", "0",
                                         "0", length, "1", "0", "0", "0", "0", "~~~"}));
  const double seconds = std::ceil(lengthMs / 1000.0);
  const CommandResult made = RunCommand("sox -n -r 44100 -c 2 '" + dir + "/song.wav' synth " +
                                        std::to_string(seconds) + " sine 440 && lame --quiet -b 128 '" + dir +
                                        "/song.wav' '" + DemoMp3Path(dir) + "'");
  std::filesystem::remove(dir + "/song.wav");
  return made.status == 0 ? "" : "sox or lame failed: " + made.output;
}
