// The window-less command-line tools, run as a user would run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene/preset_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/demo_folder.h"

namespace {

class Cli : public ::testing::Test {
 protected:
  // Preset 0 (the defaults) and 1, three textures and a real MP3 as long as the demo (30 s).
  void SetUp() override {
    ASSERT_EQ(MakeDemoFolder(dir.Path(), 30000), "");
    TScene1ParamIArray second = InitParamTable();
    second[0].BaseVal = 12;
    ASSERT_EQ(WriteScenePreset(dir / "scene1.txt", second), "");
  }

  void WriteSequence(const std::string& entries, const std::string& ratio = "2.5") {
    WriteFile(dir / "sceneseq.txt", CrLf({"// test", "30000", "l", ratio, "l", dir / "song.mp3", "l"}) + entries);
  }

  CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

  // Replaces, in preset file name, the five lines of parameter paramName (name, base, form, x, y).
  void SetParam(const std::string& name, const std::string& paramName, const std::vector<std::string>& lines) {
    std::string preset = ReadFile(dir / name);
    const size_t start = preset.find(paramName + "\r\n");
    size_t end = start;
    for (int i = 0; i < 5; ++i) end = preset.find("\r\n", end) + 2;
    std::string block;
    for (const std::string& line : lines) block += line + "\r\n";
    WriteFile(dir / name, preset.replace(start, end - start, block));
  }

  TempDir dir;
};

const std::string kTwoEntries = CrLf({"0", "0", "10000", "1", "0", "0", "0", "0", "~"}) +
                                CrLf({"1", "5000", "20000", "0.5", "1000", "1", "0.001", "200", "~"});

}  // namespace

TEST_F(Cli, CheckPrintsWhatItFound) {
  WriteSequence(kTwoEntries);
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("presets: 2\nentries: 2\ndemo length: 30000 ms\nratio: 2.5\nmp3: " + dir / "song.mp3" +
                               "\ntextures: 3\nwarnings: 0\n"),
            std::string::npos)
      << result.output;
}

TEST_F(Cli, CheckReportsEveryFaultWithFileAndLine) {
  WriteSequence(kTwoEntries, "12");
  CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(dir / "sceneseq.txt:4: seq file error: ScreenCinemaWidthRatio is not between 2 and 10"),
            std::string::npos)
      << result.output;

  WriteSequence(kTwoEntries);
  std::string preset = ReadFile(dir / "scene1.txt");
  preset.replace(preset.find("\r\n2.9280\r\n"), 10, "\r\n2,9280\r\n");
  WriteFile(dir / "scene1.txt", preset);
  result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(dir / "scene1.txt:28: '2,9280' is not a valid number"), std::string::npos)
      << result.output;
}

TEST_F(Cli, CheckFindsValuesThatFailEveryFrame) {
  WriteSequence(kTwoEntries);
  std::string preset = ReadFile(dir / "scene1.txt");
  preset.replace(preset.find("byte:BG_r\r\n12\r\n"), 15, "byte:BG_r\r\n300\r\n");
  WriteFile(dir / "scene1.txt", preset);
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(dir / "scene1.txt: byte:BG_r: base value rounds to 300"), std::string::npos)
      << result.output;
}

TEST_F(Cli, CheckFollowsOscillatorsOverTheTimesTheEntriesPlay) {
  WriteSequence(kTwoEntries);
  // 3e9 * sin(t * 0.001) first rounds above 2147483647 at t = 798 ms; entry 0 plays preset 0 at t = d.
  SetParam("scene0.txt", "byte:BG_g", {"byte:BG_g", "0", "1", "0.0010", "3000000000"});
  CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(dir / "scene0.txt: byte:BG_g: oscillator value rounds outside the 32-bit range "
                                     "(entry 0 at demo time 798 ms, effect time 798 ms)"),
            std::string::npos)
      << result.output;

  // Oscillators that could leave the range, but not at any time the entries reach: x = 0 keeps sin at
  // 0, and entry 1 plays preset 1 only at effect times up to 16200 ms, where sin(t * 1e-6) stays small.
  SetParam("scene0.txt", "byte:BG_g", {"byte:BG_g", "0", "1", "0", "3000000000"});
  SetParam("scene1.txt", "bool:ClearTarget", {"bool:ClearTarget", "2147483000", "1", "0.000001", "1000"});
  result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
}

TEST_F(Cli, CheckListsEveryBrokenFileOnce) {
  WriteSequence(kTwoEntries);
  // Two broken presets (one with bytes that would act on a terminal), a broken texture, an MP3 that
  // does not decode, and a preset number that is a link to nothing.
  std::string preset = ReadFile(dir / "scene0.txt");
  preset.replace(preset.find("\r\n2.9280\r\n"), 10, std::string("\r\n2\x1b[2J\0!\r\n", 11));
  WriteFile(dir / "scene0.txt", preset);
  preset = ReadFile(dir / "scene1.txt");
  WriteFile(dir / "scene1.txt", preset.substr(0, preset.size() / 2));
  std::filesystem::create_symlink("nowhere.txt", dir / "scene2.txt");
  WriteFile(dir / "texture1.bmp", "BM not really");
  WriteFile(dir / "song.mp3", std::string(3000, '\x55'));
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  for (const std::string& expected :
       {dir / "scene0.txt:28: '2\\x1b[2J\\0!' is not a valid number",
        dir / "scene1.txt:", dir / "scene2.txt: a symbolic link to a file that does not exist",
        "Texture(1) Init Error: cannot load texture (" + dir / "texture1.bmp: ",
        "sound init failed! Error: Stream creation failed (in other words: where is my mp3 file (" +
            dir / "song.mp3"}) {
    const size_t at = result.output.find(expected);
    EXPECT_NE(at, std::string::npos) << expected << "\n" << result.output;
    EXPECT_EQ(result.output.find(expected, at + 1), std::string::npos) << expected << "\n" << result.output;
  }
  EXPECT_EQ(result.output.find('\x1b'), std::string::npos) << "an escape byte reached the terminal";
}

TEST_F(Cli, CheckWarnsOfLikelyMistakesButPasses) {
  WriteSequence(CrLf({"7", "0", "1000", "1", "0", "0", "0", "0", "~"}) +
                CrLf({"1", "5000", "2000", "1", "0", "0", "0", "0", "~"}) +
                CrLf({"0", "29000", "30001", "1", "0", "0", "0", "0", "~"}) +
                CrLf({"0", "28000", "30000", "1", "0", "0", "0", "0", "~"}));
  ASSERT_EQ(WriteScenePreset(dir / "scene3.txt", InitParamTable()), "");
  std::filesystem::copy_file(dir / "texture0.bmp", dir / "texture5.bmp");
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  for (const std::string& expected :
       {"warning: " + dir / "sceneseq.txt: entry 0 names preset 7, which is not loaded: it shows preset 0",
        "warning: " + dir / "sceneseq.txt: entry 1 starts after it ends (5000 > 2000 ms): it is never drawn",
        "warning: " + dir / "sceneseq.txt: entry 2 ends after the demo (30001 ms, the demo lasts 30000 ms): its last "
                            "part is never drawn",
        "warning: " + dir / "scene3.txt is never loaded: the numbering stops at the missing " + dir / "scene2.txt",
        "warning: " + dir / "texture5.bmp is never loaded: the numbering stops at the missing " + dir / "texture3.bmp",
        std::string("warnings: 5\n")})
    EXPECT_NE(result.output.find(expected), std::string::npos) << expected << "\n" << result.output;
}

TEST_F(Cli, CheckWithoutSequenceFails) {
  std::filesystem::remove(dir / "sceneseq.txt");
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("Loading Error: no scene1 presets sequence found!"), std::string::npos);
}

TEST_F(Cli, PrintFrameEvaluatesEveryEntry) {
  WriteSequence(kTwoEntries);
  const CommandResult result = Quarnel("--print-frame 10000 " + dir.Path());
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output.rfind("entry 0 preset 0 visible 1 fxtime 10000\nBG_r=157\n", 0), 0u) << result.output;
  EXPECT_NE(result.output.find("entry 1 preset 1 visible 1 fxtime 5891\nBG_r=12\n"), std::string::npos);
  EXPECT_NE(result.output.find("\n_TweakY=1.58399999\n"), std::string::npos);
  EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 2 * 78);
}

TEST_F(Cli, PrintFrameInDevelopmentModeEvaluatesTheLiveSetAtHalfTime) {
  WriteSequence(kTwoEntries);
  const CommandResult result = Quarnel("-d --print-frame 314 " + dir.Path());
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output.rfind("entry 0 preset 0 visible 1 fxtime 157\nBG_r=157\nBG_g=255\n", 0), 0u) << result.output;
  EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 78);
}

// Entry 0's _TweakX climbs from 1 to 3 over its window (its oscillator swings around that); entry 1's BG_r from 0 to
// 255, on an oscillator that its preset's own base keeps in range but the keys take beyond 2^31.
TEST_F(Cli, PrintFrameAndCheckFollowTheEntriesKeys) {
  WriteFile(dir / "sceneseq.txt",
            CrLf({"// test", "// key 0 4 0 1 linear", "// key 0 4 10000 3 linear", "// key 1 0 0 0 linear",
                  "// key 1 0 15000 255 linear", "30000", "l", "2.5", "l", dir / "song.mp3", "l"}) +
                kTwoEntries);
  const CommandResult frame = Quarnel("--print-frame 5000 " + dir.Path());
  ASSERT_EQ(frame.status, 0) << frame.output;
  EXPECT_LT(frame.output.find("\n_TweakX=2.04207349 tracked\n"), frame.output.find("entry 1 ")) << frame.output;
  size_t marks = 0;
  for (size_t at = frame.output.find(" tracked\n"); at != std::string::npos;
       at = frame.output.find(" tracked\n", at + 1))
    ++marks;
  EXPECT_EQ(marks, 2u) << "only the tracked values are marked";
  EXPECT_NE(frame.output.find("visible 1 fxtime 3308\nBG_r=0 tracked\n"), std::string::npos) << "at entry 1's start";
  EXPECT_EQ(std::count(frame.output.begin(), frame.output.end(), '\n'), 2 * 78);
  EXPECT_EQ(Quarnel("--check " + dir.Path()).status, 0) << "no oscillator near the edge yet";

  SetParam("scene1.txt", "byte:BG_r", {"byte:BG_r", "12", "6", "0", "2147483520"});
  const CommandResult check = Quarnel("--check " + dir.Path());
  EXPECT_EQ(check.status, 1) << check.output;
  EXPECT_NE(check.output.find(dir / "scene1.txt: byte:BG_r: oscillator value rounds outside the 32-bit range "
                                    "(entry 1 at demo time 12500 ms, effect time 7237 ms, base value from the "
                                    "entry's keys)"),
            std::string::npos)
      << check.output;
}

// A refused argument is named on the first line, the usage follows, and the status is 2; so are a data
// folder that does not exist or is empty, before any window could open. An unrelated ./data is not taken
// for the demo.
TEST_F(Cli, RefusedArgumentsAndFoldersAreNamedBeforeTheUsage) {
  const std::string empty = dir / "empty";
  std::filesystem::create_directory(empty);
  for (const auto& [args, firstLine] : std::vector<std::pair<std::string, std::string>>{
           {"--bogus", "quarnel: --bogus: no such option (quarnel --help lists them)"},
           {"--start -1", "quarnel: --start: '-1' is not a whole number of milliseconds 0..2147483647"},
           {"/nonexistent", "quarnel: /nonexistent: no such data folder"},
           {"-d " + empty, "quarnel: " + empty + ": the data folder is empty"},
           {"--check " + dir / "scene0.txt", "quarnel: " + dir / "scene0.txt" + ": not a folder"}}) {
    const CommandResult result = Quarnel(args);
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_EQ(result.output.substr(0, result.output.find('\n')), firstLine);
    EXPECT_NE(result.output.find("\nusage: quarnel "), std::string::npos) << result.output;
  }
  const CommandResult help = Quarnel("-h");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("usage: quarnel ", 0), 0u) << help.output;
  EXPECT_EQ(Quarnel("-v").output.rfind("quarnel ", 0), 0u);

  WriteFile(empty + "/notes.txt", "not a demo");
  const CommandResult shipped = RunCommand("cd " + dir.Path() + " && mv empty data && " + QUARNEL_BINARY + " --check");
  EXPECT_EQ(shipped.status, 0) << shipped.output;
  EXPECT_EQ(shipped.output.find(dir / "data"), std::string::npos) << "took the unrelated ./data: " << shipped.output;
}
