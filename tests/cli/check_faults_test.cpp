// --check, --render and the options where earlier versions lied or stayed silent, run as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene/preset_file.h"
#include "support/demo_folder.h"
#include "support/time_bound.h"

namespace fs = std::filesystem;

namespace {

class CheckFaults : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(MakeDemoFolder(dir.Path(), 1000), ""); }

  CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

  // A sequence of lengthMs with one whole-demo entry per preset 0..presets-1.
  void WriteSequence(uint32_t lengthMs, int presets) {
    std::string text = CrLf({"// test", std::to_string(lengthMs), "l", "8", "l", dir / "song.mp3", "l"});
    for (int p = 0; p < presets; ++p)
      text += CrLf({std::to_string(p), "0", std::to_string(lengthMs), "1", "0", "0", "0", "0", "~"});
    WriteFile(dir / "sceneseq.txt", text);
  }

  TempDir dir;
};

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace

// No presets: the demo plays the defaults after one warning, so the check passes with that warning
// counted; the notice of presets past the 255th is a counted warning too.
TEST_F(CheckFaults, NoticesAreCountedWarnings) {
  fs::remove(dir / "scene0.txt");
  CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("warning: " + dir / "scene0.txt: Loading Error: no scene1 presets found! Using default "
                                                  "settings\n"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("warnings: 1\n"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("check failed"), std::string::npos) << result.output;

  for (int n = 0; n <= 255; ++n) ASSERT_EQ(WriteScenePreset(PresetFilePath(dir.Path(), n), InitParamTable()), "");
  result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("warning: " + dir / "scene255.txt"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("warnings: 1\n"), std::string::npos) << result.output;
}

// The MP3 is decoded to its end, and the check says how long that took.
TEST_F(CheckFaults, CheckDecodesTheWholeMp3) {
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("mp3 decoded: 1.0 s of sound in "), std::string::npos) << result.output;
}

// Oscillators that could leave the 32-bit range but never do at a time the entries reach (x = 0 keeps
// sin at 0), in many presets over a long demo: beyond the check's one budget the times are sampled,
// each such oscillator gets a warning that says so, and the check ends well within the hang bound.
TEST_F(CheckFaults, LongDemoIsSampledWithinOneBudget) {
  constexpr int kPresets = 10;
  TScene1ParamIArray preset = InitParamTable();
  for (const char* name : {"BG_r", "BG_g", "BG_b", "ObjectTextureNumber", "SpriteTextureNumber"})
    SetParamValue(preset, name, 0, 1, 0, 3e9f);
  for (int n = 0; n < kPresets; ++n) ASSERT_EQ(WriteScenePreset(PresetFilePath(dir.Path(), n), preset), "");
  WriteSequence(10'000'000, kPresets);
  CommandResult result;
  EXPECT_EQ(RunWithinBound([&] {
              result = Quarnel("--check " + dir.Path());
              const bool sampled = Count(result.output, "the demo is too long to try every time; tried every ") ==
                                   5 * kPresets;
              return result.status == 0 && sampled ? 0 : 1;
            }, std::chrono::seconds(120)),
            0);
  // The body ran in a child: run it once more here to show what it printed when it failed.
  if (HasFailure()) std::cerr << Quarnel("--check " + dir.Path()).output;
}

// --render past the demo's end is refused with the length named; a PNG that cannot be written says why.
TEST_F(CheckFaults, RenderRefusesTimesPastTheEndAndSaysWhyAWriteFails) {
  CommandResult result = Quarnel("--render 1001 " + dir / "late.png --size 64x48 " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("--render 1001: the demo ends at 1000 ms"), std::string::npos) << result.output;
  EXPECT_FALSE(fs::exists(dir / "late.png"));
  EXPECT_EQ(Quarnel("--render 1000 " + dir / "end.png --size 64x48 " + dir.Path()).status, 0);

  result = Quarnel("--render 0 " + dir / "missing/a.png --size 64x48 " + dir.Path());
  EXPECT_NE(result.output.find("cannot write " + dir / "missing/a.png: No such file or directory"), std::string::npos)
      << result.output;
  fs::create_directory(dir / "folder.png");
  result = Quarnel("--render 0 " + dir / "folder.png --size 64x48 " + dir.Path());
  EXPECT_NE(result.output.find("cannot write " + dir / "folder.png: "), std::string::npos) << result.output;
  EXPECT_EQ(result.status, 1);
}

TEST_F(CheckFaults, DevelopmentSwitchTwiceIsRefused) {
  const CommandResult result = Quarnel("-d -d " + dir.Path());
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.output.rfind("quarnel: -d: only the first argument selects development mode", 0), 0u)
      << result.output;
}

// Two entries of one failing preset fail with one text: the export prints it once.
TEST_F(CheckFaults, ExportPrintsALayerErrorOnce) {
  TScene1ParamIArray preset = InitParamTable();
  SetParamValue(preset, "BG_g", 0, 1, 0.001f, 3e9f);
  ASSERT_EQ(WriteScenePreset(dir / "scene0.txt", preset), "");
  std::string text = CrLf({"// test", "1000", "l", "8", "l", dir / "song.mp3", "l"});
  for (int k = 0; k < 2; ++k) text += CrLf({"0", "0", "1000", "1", "0", "0", "0", "0", "~"});
  WriteFile(dir / "sceneseq.txt", text);
  const CommandResult result = Quarnel("--export " + dir / "out/ --fps 10 --size 64x48 " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Count(result.output, "preset 0: byte:BG_g: oscillator value rounds outside"), 1u) << result.output;
}
