// Hot reload of the data folder: a good and a broken preset file, a good and a broken sequence file,
// reported once, the previous data kept.
#include "authoring/hot_reload.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>

#include "scene/preset_file.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"

namespace {

class HotReload : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 0; n < 2; ++n) WritePreset(n, 10.0f + n);
    WriteFile(dir / "song.mp3", "mp3");
    WriteSequence("60000", "1");
    scene.PresetCount = LoadScenePresets(dir / "scene", scene.ScenePresets, {});
    sequenceCount = LoadSceneSequence(dir / "sceneseq", sequence, {});
    ASSERT_EQ(scene.PresetCount, 2);
    ASSERT_EQ(sequenceCount, 1);
    WatchDataFiles(watch, dir.Path(), scene.PresetCount);
    events.PresetReloaded = [this](int n) { reloadedPresets.push_back(n); };
    events.SequenceReloaded = [this] { ++sequenceReloads; };
    events.Report = [this](const std::string& text) { reports.push_back(text); };
  }
  void WritePreset(int n, float bgRed) {
    TScene1ParamIArray preset = InitParamTable();
    preset[0].BaseVal = bgRed;
    Touch(dir / ("scene" + std::to_string(n) + ".txt"), ScenePresetText(preset));
  }
  void WriteSequence(const std::string& length, const std::string& presetNumber, const std::string& ratio = "2.35") {
    Touch(dir / "sceneseq.txt", CrLf({"// seq", length, "ratio", ratio, "mp3", dir / "song.mp3", "entries",
                                      presetNumber, "0", "60000", "1", "0", "0", "0", "0", "~~~"}));
  }
  // Writes a file with a modification time of its own, as an editor saving it a moment later would.
  void Touch(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++writes));
  }
  void Poll() { PollDataFiles(watch, scene, sequence, sequenceCount, events); }

  TempDir dir;
  int writes = 0;
  SceneState scene;
  SceneSequence sequence;
  uint8_t sequenceCount = 0;
  DataWatch watch;
  ReloadEvents events;
  std::vector<int> reloadedPresets;
  int sequenceReloads = 0;
  std::vector<std::string> reports;
};

TEST_F(HotReload, NothingChangedNothingRead) {
  Poll();
  Poll();
  EXPECT_TRUE(reloadedPresets.empty());
  EXPECT_EQ(sequenceReloads, 0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(HotReload, AChangedPresetReplacesItsLoadedCopy) {
  WritePreset(1, 99);
  Poll();
  EXPECT_EQ(reloadedPresets, std::vector<int>{1});
  EXPECT_EQ(scene.ScenePresets[1][0].BaseVal, 99);
  EXPECT_EQ(scene.ScenePresets[0][0].BaseVal, 10) << "the other preset untouched";
  Poll();
  EXPECT_EQ(reloadedPresets.size(), 1u) << "read once per change";
}

TEST_F(HotReload, ABrokenPresetIsReportedOnceWithItsLineAndTheOldOneStays) {
  std::string text = ReadFile(dir / "scene0.txt");
  const size_t value = text.find("byte:BG_r\r\n") + 11;  // BG_r's base value, line 4
  text.replace(value, text.find("\r\n", value) - value, "1o");
  Touch(dir / "scene0.txt", text);
  Poll();
  Poll();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(dir / "scene0.txt:4: '1o'"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find("previous data stays in use"), std::string::npos);
  EXPECT_EQ(scene.ScenePresets[0][0].BaseVal, 10);
  EXPECT_TRUE(reloadedPresets.empty());

  Touch(dir / "scene0.txt", text.substr(0, text.size() / 2));  // cut short: still broken, a new change
  Poll();
  EXPECT_EQ(reports.size(), 2u);
  WritePreset(0, 42);  // mended
  Poll();
  EXPECT_EQ(scene.ScenePresets[0][0].BaseVal, 42);
  EXPECT_EQ(reports.size(), 2u);
}

TEST_F(HotReload, AFileMissingForAMomentIsLeftAlone) {
  std::filesystem::remove(dir / "scene1.txt");
  Poll();
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(scene.ScenePresets[1][0].BaseVal, 11);
  WritePreset(1, 5);
  Poll();
  EXPECT_EQ(scene.ScenePresets[1][0].BaseVal, 5);
}

// A FIFO or a folder in a preset's place is no file missing for a moment: it is reported once, saying
// what stands there, without waiting on the FIFO, and the loaded preset stays.
TEST_F(HotReload, AFifoOrAFolderInAPresetsPlaceIsReportedOnce) {
  std::filesystem::remove(dir / "scene0.txt");
  ASSERT_EQ(mkfifo((dir / "scene0.txt").c_str(), 0644), 0);
  std::filesystem::remove(dir / "scene1.txt");
  std::filesystem::create_directory(dir / "scene1.txt");
  Poll();
  Poll();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].rfind(dir / "scene0.txt: a FIFO (named pipe), not a regular file", 0), 0u) << reports[0];
  EXPECT_EQ(reports[1].rfind(dir / "scene1.txt: a folder, not a regular file", 0), 0u) << reports[1];
  EXPECT_EQ(scene.ScenePresets[0][0].BaseVal, 10);
  EXPECT_EQ(scene.ScenePresets[1][0].BaseVal, 11);
}

TEST_F(HotReload, AChangedSequenceReplacesEntriesAndLength) {
  WriteSequence("30000", "1");
  Poll();
  EXPECT_EQ(sequenceReloads, 1);
  EXPECT_EQ(sequence.DemoLength, 30000u);
  EXPECT_EQ(sequence.SequenceEntries.at(0).PresetNumber, 1);
  EXPECT_TRUE(reports.empty());

  WriteSequence("30000", "0", "3.5");  // a new ratio waits for the next start
  Poll();
  EXPECT_EQ(sequenceReloads, 2);
  EXPECT_FLOAT_EQ(sequence.ScreenCinemaWidthRatio, 2.35f);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("next start"), std::string::npos);
}

TEST_F(HotReload, ASequenceCutAt255EntriesSaysSo) {
  std::string text = CrLf({"// seq", "60000", "ratio", "2.35", "mp3", dir / "song.mp3", "entries"});
  for (int n = 0; n < 256; ++n) text += CrLf({"0", "0", "60000", "1", "0", "0", "0", "0", "~~~"});
  Touch(dir / "sceneseq.txt", text);
  Poll();
  EXPECT_EQ(sequenceReloads, 1);
  EXPECT_EQ(sequence.SequenceEntries.size(), 255u);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], dir / "sceneseq.txt: only the first 255 entries are used; the rest of the file is ignored");
}

TEST_F(HotReload, TheProgramsOwnSaveIsNoChange) {
  sequence.DemoLength = 45000;  // edited in the timeline, then saved
  ASSERT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, ReadSequenceNotes(dir / "sceneseq.txt", 1)), "");
  NoteOwnWrite(watch, watch.sequence.path);
  sequence.DemoLength = 46000;  // edited again before the poll
  Poll();
  EXPECT_EQ(sequenceReloads, 0);
  EXPECT_EQ(sequence.DemoLength, 46000u) << "the edit in use is not replaced by the file";

  WriteSequence("30000", "1");  // someone else's change is read as before
  Poll();
  EXPECT_EQ(sequenceReloads, 1);
  EXPECT_EQ(sequence.DemoLength, 30000u);
}

TEST_F(HotReload, ABrokenSequenceIsReportedOnceAndTheOldOneStays) {
  WriteSequence("-5", "1");  // a bad length: a report, not an exception
  Poll();
  Poll();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(dir / "sceneseq.txt:2"), std::string::npos) << reports[0];
  WriteSequence("30000", "x");  // a bad number
  Poll();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[1].find(dir / "sceneseq.txt:8: 'x'"), std::string::npos) << reports[1];
  EXPECT_EQ(sequence.DemoLength, 60000u);
  EXPECT_EQ(sequence.SequenceEntries.size(), 1u);
  EXPECT_EQ(sequenceCount, 1);
  EXPECT_EQ(sequenceReloads, 0);
}

}  // namespace

TEST_F(HotReload, PresetFilesThatAppearLaterAreLoadedAndWatched) {
  WritePreset(3, 33);  // a gap: scene2.txt is missing, so scene3.txt is no preset yet
  Poll();
  EXPECT_TRUE(reloadedPresets.empty());
  WritePreset(2, 22);
  Poll();
  EXPECT_EQ(reloadedPresets, (std::vector<int>{2, 3}));
  ASSERT_EQ(scene.PresetCount, 4);
  EXPECT_EQ(scene.ScenePresets[3][0].BaseVal, 33);
  WritePreset(3, 44);  // an outside edit of the new file
  Poll();
  EXPECT_EQ(scene.ScenePresets[3][0].BaseVal, 44);
  EXPECT_EQ(reloadedPresets.back(), 3);
  EXPECT_TRUE(reports.empty());
}

TEST_F(HotReload, OwnSaveOfANewPresetFileIsNoChangeButItsLaterOutsideEditIs) {
  WritePreset(2, 22);
  scene.PresetCount = LoadScenePresets(dir / "scene", scene.ScenePresets, {});  // as "save" refreshes
  NoteOwnWrite(watch, dir / "scene2.txt");
  Poll();
  EXPECT_TRUE(reloadedPresets.empty());
  WritePreset(2, 23);
  Poll();
  EXPECT_EQ(reloadedPresets, std::vector<int>{2});
  EXPECT_EQ(scene.ScenePresets[2][0].BaseVal, 23);
}

TEST_F(HotReload, ASequenceWithOwnEditsIsHeldBackUntilAskedFor) {
  bool ownEdits = true;
  int heldBack = 0;
  events.SequenceHasOwnEdits = [&] { return ownEdits; };
  events.SequenceHeldBack = [&] { ++heldBack; };
  WriteSequence("30000", "0");
  Poll();
  Poll();
  EXPECT_EQ(heldBack, 1) << "said once per change of the file";
  EXPECT_EQ(sequenceReloads, 0);
  EXPECT_EQ(sequence.DemoLength, 60000u);
  ReloadSequenceFile(watch, sequence, sequenceCount, events);
  EXPECT_EQ(sequence.DemoLength, 30000u);
  EXPECT_EQ(sequenceReloads, 1);
  ownEdits = false;
  WriteSequence("40000", "0");
  Poll();
  EXPECT_EQ(sequence.DemoLength, 40000u) << "without edits of our own a change is read at once";
  EXPECT_EQ(heldBack, 1);
}
