// The window-less command-line tools, run as a user would run them.
#include <gtest/gtest.h>

#include "scene/preset_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "song.mp3", "not really an mp3");
    ASSERT_EQ(WriteScenePreset(dir / "scene0.txt", InitParamTable()), "");
    TScene1ParamIArray second = InitParamTable();
    second[0].BaseVal = 12;
    ASSERT_EQ(WriteScenePreset(dir / "scene1.txt", second), "");
  }

  void WriteSequence(const std::string& entries, const std::string& ratio = "2.5") {
    WriteFile(dir / "sceneseq.txt", CrLf({"// test", "30000", "l", ratio, "l", dir / "song.mp3", "l"}) + entries);
  }

  CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

  TempDir dir;
};

const std::string kTwoEntries = CrLf({"0", "0", "10000", "1", "0", "0", "0", "0", "~"}) +
                                CrLf({"1", "5000", "20000", "0.5", "1000", "1", "0.001", "200", "~"});

}  // namespace

TEST_F(Cli, CheckPrintsWhatItFound) {
  WriteSequence(kTwoEntries);
  const CommandResult result = Quarnel("--check " + dir.Path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("presets: 2\nentries: 2\ndemo length: 30000 ms\nratio: 2.5\nmp3: " + dir / "song.mp3"),
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
  EXPECT_NE(result.output.find("preset 1: byte:BG_r: base value rounds to 300"), std::string::npos) << result.output;
}

TEST_F(Cli, CheckWithoutSequenceFails) {
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
  EXPECT_EQ(result.output.rfind("entry 0 preset 0 visible 1 fxtime 157\nBG_r=157\nBG_g=255\n", 0), 0u)
      << result.output;
  EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 78);
}

TEST_F(Cli, RejectsBadArguments) {
  EXPECT_EQ(Quarnel("--print-frame").status, 2);
  EXPECT_EQ(Quarnel("--print-frame -5 data").status, 2);
  EXPECT_EQ(Quarnel("--bogus").status, 2);
}
