// Writing the sequence file: what the reader reads back, the lines it passes over kept, the bpm line,
// and a failed save that keeps the old file.
#include <gtest/gtest.h>

#include <cfloat>
#include <filesystem>

#include "scene/scene_messages.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"

namespace {

SceneSequence Load(const std::string& dir) {
  SceneSequence sequence;
  LoadReports reports;
  reports.FatalError = [](const std::string& where, const std::string& text) {
    ADD_FAILURE() << where << ": " << text;
  };
  LoadSceneSequence(dir + "/sceneseq", sequence, reports);
  return sequence;
}

class SequenceSave : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "song.mp3", "x");
    WriteFile(dir / "sceneseq.txt", CrLf({"// my demo",
                                          "// second comment",
                                          "96000",
                                          "letterbox ratio",
                                          "2.35",
                                          "soundtrack",
                                          dir / "song.mp3",
                                          "entries",
                                          "2",
                                          "5000",
                                          "20000",
                                          "0.5",
                                          "-1000",
                                          "1",
                                          "0.001",
                                          "200",
                                          "~~~ intro",
                                          "7",
                                          "0",
                                          "999",
                                          "1.1",
                                          "0",
                                          "0",
                                          "0",
                                          "0",
                                          "~~~ the second"}));
  }
  TempDir dir;
};

}  // namespace

TEST_F(SequenceSave, SavedFileReadsBackTheSameWithItsCommentsLabelsAndSeparators) {
  SceneSequence sequence = Load(dir.Path());
  const SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", sequence.SequenceEntries.size());
  EXPECT_EQ(notes.comments, (std::vector<std::string>{"// my demo", "// second comment"}));
  EXPECT_EQ(notes.labels, (std::vector<std::string>{"letterbox ratio", "soundtrack", "entries"}));
  EXPECT_EQ(notes.separators, (std::vector<std::string>{"~~~ intro", "~~~ the second"}));

  sequence.SequenceEntries[1].TimeFactor = 0.1f;  // no short decimal fraction in binary
  sequence.SequenceEntries[0].WobbleFrequency = 1e-7f;
  sequence.SequenceEntries[1].WobbleAmplitude = -FLT_MAX;  // its shortest text lies just beyond it
  ASSERT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, notes), "");
  EXPECT_EQ(Load(dir.Path()), sequence) << "every value exactly as written";
  const std::string text = ReadFile(dir / "sceneseq.txt");
  EXPECT_EQ(text.rfind("// my demo\r\n// second comment\r\n96000\r\nletterbox ratio\r\n2.35\r\nsoundtrack\r\n", 0), 0u)
      << text;
  EXPECT_NE(text.find("\r\n~~~ intro\r\n7\r\n0\r\n999\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "CR LF line ends";
  EXPECT_EQ(text.substr(text.size() - 16), "~~~ the second\r\n");
}

TEST_F(SequenceSave, BpmIsOurOwnCommentLine) {
  SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", 2);
  EXPECT_EQ(NotesBpm(notes), std::nullopt) << "none by default";
  SetNotesBpm(notes, 120);
  EXPECT_EQ(notes.comments.back(), "// bpm: 120");
  SetNotesBpm(notes, 93.5);
  EXPECT_EQ(NotesBpm(notes), 93.5);
  EXPECT_EQ(notes.comments.size(), 3u) << "one bpm line, replaced";
  ASSERT_EQ(WriteSceneSequence(dir / "sceneseq.txt", Load(dir.Path()), notes), "");
  EXPECT_EQ(NotesBpm(ReadSequenceNotes(dir / "sceneseq.txt", 2)), 93.5);
  EXPECT_EQ(Load(dir.Path()).SequenceEntries.size(), 2u) << "the reader skips it as a comment";
  SetNotesBpm(notes, std::nullopt);
  EXPECT_EQ(notes.comments.size(), 2u);
}

TEST_F(SequenceSave, NotesOfAMissingFileAreTheDefaults) {
  const SequenceNotes notes = ReadSequenceNotes(dir / "none.txt", 1);
  EXPECT_TRUE(notes.comments.empty());
  EXPECT_EQ(notes.labels.size(), 3u);
  EXPECT_EQ(notes.separators, std::vector<std::string>{kEntrySeparator});
}

TEST_F(SequenceSave, FailedSaveKeepsTheOldFileAndSaysWhy) {
  const std::string before = ReadFile(dir / "sceneseq.txt");
  SceneSequence sequence = Load(dir.Path());
  sequence.DemoLength = 1234;
  const std::string error = WriteSceneSequence(dir / "missing-folder/sceneseq.txt", sequence, {});
  EXPECT_NE(error.find("missing-folder/sceneseq.txt: "), std::string::npos) << error;
  std::filesystem::create_directory(dir / "taken");  // a folder where the file should go
  EXPECT_NE(WriteSceneSequence(dir / "taken", sequence, {}), "");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), before);
  size_t files = 0;
  for (const auto& file : std::filesystem::directory_iterator(dir.Path())) files += file.exists();
  EXPECT_EQ(files, 3u) << "the sequence, the MP3 and the folder: no temporary left";
}

TEST_F(SequenceSave, ASequenceTheReaderWouldRefuseIsNotWrittenAndTheOldFileStays) {
  const std::string path = dir / "sceneseq.txt";
  const std::string before = ReadFile(path);
  const SceneSequence loaded = Load(dir.Path());
  const auto refused = [&](SceneSequence sequence, const std::string& reason) {
    EXPECT_EQ(WriteSceneSequence(path, sequence, {}), path + ": " + reason);
    EXPECT_EQ(ReadFile(path), before);
  };
  SceneSequence empty = loaded;
  empty.SequenceEntries.clear();
  refused(empty, kMsgSaveNoEntries);
  SceneSequence tooMany = loaded;
  tooMany.SequenceEntries.resize(256);
  refused(tooMany, kMsgSaveTooManyEntries);
  SceneSequence noLength = loaded;
  noLength.DemoLength = 0;
  refused(noLength, kMsgSaveBadLength);
  SceneSequence full = loaded;
  full.SequenceEntries.resize(255);
  EXPECT_EQ(WriteSceneSequence(path, full, {}), "");
  EXPECT_EQ(Load(dir.Path()).SequenceEntries.size(), 255u) << "255 entries are the most, and fine";
}
