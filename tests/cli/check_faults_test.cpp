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

// The default preset with BG_r oscillating by form 1 with x and y written as given (a saved preset
// keeps only 4 decimals).
void WritePresetSwingingRed(const std::string& path, const std::string& x, const std::string& y) {
  std::string text = ScenePresetText(InitParamTable());
  const size_t red = text.find("byte:BG_r\r\n") + 11;
  const size_t end = text.find("~", red);
  text.replace(red, end - red, CrLf({"0", "1", x, y}));
  WriteFile(path, text);
}

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
// sin at 0), in many presets over a long demo: the bounds settle each one at once, the check passes with
// no warning and stays far within the hang bound.
TEST_F(CheckFaults, LongDemoIsSettledWithoutSampling) {
  constexpr int kPresets = 10;
  TScene1ParamIArray preset = InitParamTable();
  for (const char* name : {"BG_r", "BG_g", "BG_b", "ObjectTextureNumber", "SpriteTextureNumber"})
    SetParamValue(preset, name, 0, 1, 0, 3e9f);
  for (int n = 0; n < kPresets; ++n) ASSERT_EQ(WriteScenePreset(PresetFilePath(dir.Path(), n), preset), "");
  WriteSequence(10'000'000, kPresets);
  CommandResult result;
  EXPECT_EQ(RunWithinBound([&] {
              result = Quarnel("--check " + dir.Path());
              return result.status;
            }),
            0);
  // The body ran in a child: run it once more here to show what it printed when it failed.
  if (HasFailure()) std::cerr << Quarnel("--check " + dir.Path()).output;
}

// The campaign's folder that passed a sampled check: BG_r swings with 2^31 and fails only within a
// few ms of its peak at 157 079 ms of a 200 000 ms demo, in 255 entries. The check names a failing demo
// time, and --render of that time fails as the check says (its earlier frames, a second apart, do not).
TEST_F(CheckFaults, NarrowPeakOfALongDemoIsFoundAndRenderAgrees) {
  WritePresetSwingingRed(dir / "scene0.txt", "0.00001", "2147483648");
  std::string text = CrLf({"// test", "200000", "l", "8", "l", dir / "song.mp3", "l"});
  for (int k = 0; k < 255; ++k) text += CrLf({"0", "0", "200000", "1", "0", "0", "0", "0", "~"});
  WriteFile(dir / "sceneseq.txt", text);
  const CommandResult check = Quarnel("--check " + dir.Path());
  EXPECT_EQ(check.status, 1) << check.output;
  const std::string found = "byte:BG_r: oscillator value rounds outside the 32-bit range (entry 0 at demo time ";
  const size_t at = check.output.find(found);
  ASSERT_NE(at, std::string::npos) << check.output;
  const uint32_t failingMs = uint32_t(std::stoul(check.output.substr(at + found.size())));
  EXPECT_NEAR(failingMs, 157079, 10);
  WriteSequence(200000, 1);  // one of the entries is enough to draw, and far quicker
  const CommandResult render =
      Quarnel("--render " + std::to_string(failingMs) + " " + dir / "peak.png --fps 1 --size 64x48 " + dir.Path());
  EXPECT_EQ(render.status, 1) << render.output;
  EXPECT_NE(render.output.find("byte:BG_r: oscillator value rounds outside"), std::string::npos) << render.output;
}

// Peaks beyond the 32-bit range that no whole millisecond meets (sin(t * 2π/3) is 0 or ±0.866 at every
// whole t) over a demo too long to try every millisecond: the check cannot prove either way, says so
// and ends with status 3, not as a pass.
TEST_F(CheckFaults, WhatTheCheckCannotSettleIsNoPass) {
  WritePresetSwingingRed(dir / "scene0.txt", "2.0943951023931953", "2147483648");
  WriteSequence(2'000'000'000, 1);
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 3) << result.output;
  EXPECT_NE(result.output.find(dir / "scene0.txt: byte:BG_r: its oscillator may round outside the 32-bit range, and "
                                     "the check could not settle it in time (entry 0 from demo time "),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find(dir.Path() + ": check undecided"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("check passed"), std::string::npos) << result.output;
}

// An MP3 that ends before the demo (1 s of sound, 3 s of demo) is decoded whole and warned about, naming
// both lengths; the folder still passes.
TEST_F(CheckFaults, ShortSoundIsWarnedAboutWithBothLengths) {
  WriteSequence(3000, 1);
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("warning: " + dir / "song.mp3: the sound lasts 1.0 s, the demo 3.0 s: the rest of the "
                                                   "demo is silent"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("warnings: 1\n"), std::string::npos) << result.output;
}

// What a command prints must arrive: a full or closed standard output fails the command with the reason.
TEST_F(CheckFaults, FailedWritesToStandardOutputFailTheCommand) {
  // Only standard output goes elsewhere: what the command says on standard error is collected.
  const auto withOutput = [](const std::string& command, const std::string& redirection) {
    return RunCommand("{ " + std::string(QUARNEL_BINARY) + " " + command + " " + redirection + "; }");
  };
  for (const std::string& command :
       {"--check " + dir.Path(), "--print-frame 500 " + dir.Path(), std::string("--version")}) {
    CommandResult result = withOutput(command, ">/dev/full");
    EXPECT_EQ(result.status, 1) << command << ": " << result.output;
    EXPECT_NE(result.output.find("quarnel: cannot write to standard output: No space left on device"),
              std::string::npos)
        << command << ": " << result.output;
    result = withOutput(command, ">&-");
    EXPECT_EQ(result.status, 1) << command << ": " << result.output;
    EXPECT_NE(result.output.find("quarnel: cannot write to standard output: Bad file descriptor"), std::string::npos)
        << command << ": " << result.output;
  }
  EXPECT_EQ(Quarnel("--check " + dir.Path() + " >/dev/null").status, 0);
}

// --render and --print-frame past the demo's end are refused with the length named; a PNG that cannot
// be written says why.
TEST_F(CheckFaults, RenderRefusesTimesPastTheEndAndSaysWhyAWriteFails) {
  CommandResult result = Quarnel("--render 1001 " + dir / "late.png --size 64x48 " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("--render 1001: the demo ends at 1000 ms"), std::string::npos) << result.output;
  EXPECT_FALSE(fs::exists(dir / "late.png"));
  EXPECT_EQ(Quarnel("--render 1000 " + dir / "end.png --size 64x48 " + dir.Path()).status, 0);
  for (const std::string mode : {"", "-d "}) {
    result = Quarnel(mode + "--print-frame 1001 " + dir.Path());
    EXPECT_EQ(result.status, 1) << mode;
    EXPECT_EQ(result.output, "--print-frame 1001: the demo ends at 1000 ms\n") << mode;
    EXPECT_EQ(Quarnel(mode + "--print-frame 1000 " + dir.Path() + " >/dev/null").status, 0) << mode;
  }

  result = Quarnel("--render 0 " + dir / "missing/a.png --size 64x48 " + dir.Path());
  EXPECT_NE(result.output.find("cannot write " + dir / "missing/a.png: No such file or directory"), std::string::npos)
      << result.output;
  fs::create_directory(dir / "folder.png");
  result = Quarnel("--render 0 " + dir / "folder.png --size 64x48 " + dir.Path());
  EXPECT_NE(result.output.find("cannot write " + dir / "folder.png: "), std::string::npos) << result.output;
  EXPECT_EQ(result.status, 1);
}

// --print-frame names where a value fails: the demo time, the entry, the preset and its file.
TEST_F(CheckFaults, PrintFrameNamesTheEntryAndThePresetFileOfAFault) {
  WritePresetSwingingRed(dir / "scene0.txt", "0.0039269908", "3000000000");
  const CommandResult result = Quarnel("--print-frame 400 " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("--print-frame 400: entry 0, preset 0 (" + dir / "scene0.txt" +
                               "): byte:BG_r: oscillator value rounds outside the 32-bit range\n"),
            std::string::npos)
      << result.output;
}

// A layer that fails only in frames before the one asked for (BG_r swings past 2^31 from about 200 to
// 600 ms and is back in range at 1000 ms) fails --render as it fails the export, naming where.
TEST_F(CheckFaults, RenderFailsAtTheFirstFailingFrameItReplays) {
  WritePresetSwingingRed(dir / "scene0.txt", "0.0039269908", "3000000000");
  CommandResult result = Quarnel("--render 1000 " + dir / "late.png --fps 10 --size 64x48 " + dir.Path());
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("byte:BG_r: oscillator value rounds outside the 32-bit range (first at demo time 300 "
                               "ms, frame 3, before the frame asked for)"),
            std::string::npos)
      << result.output;
  EXPECT_FALSE(fs::exists(dir / "late.png"));
  result = Quarnel("--render 100 " + dir / "early.png --fps 10 --size 64x48 " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
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
