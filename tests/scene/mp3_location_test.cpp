#include "scene/mp3_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scene/sequence.h"
#include "scene/scene_messages.h"
#include "support/temp_dir.h"

namespace {

// A demo folder DEMO/data whose sequence names its MP3 "data/song.mp3", and a working folder elsewhere
// that the test moves into (and back out of).
class Mp3Location : public ::testing::Test {
 protected:
  Mp3Location() {
    std::filesystem::create_directories(dir / "demo/data");
    std::filesystem::create_directories(dir / "elsewhere");
    WriteFile(dir / "demo/data/song.mp3", "mp3");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir / "elsewhere");
  }
  ~Mp3Location() override { std::filesystem::current_path(previous_); }

  TempDir dir;

 private:
  std::filesystem::path previous_;
};

}  // namespace

TEST_F(Mp3Location, FindsTheFileAsWrittenFirst) {
  WriteFile(dir / "elsewhere/song.mp3", "the working folder's own");
  EXPECT_EQ(FindMp3File("song.mp3", dir / "demo/data"), "song.mp3");
  std::filesystem::create_directories(dir / "elsewhere/data");
  WriteFile(dir / "elsewhere/data/song.mp3", "the working folder's data");
  EXPECT_EQ(FindMp3File("data/song.mp3", dir / "demo/data"), "data/song.mp3");
  EXPECT_EQ(FindMp3File(dir / "demo/data/song.mp3", "anywhere"), dir / "demo/data/song.mp3");
}

TEST_F(Mp3Location, FindsTheFileBesideTheDataFolderFromAnotherWorkingFolder) {
  // Relative to the data folder's parent: the line as the shipped demo and --new write it.
  EXPECT_EQ(FindMp3File("data/song.mp3", dir / "demo/data"), dir / "demo/data/song.mp3");
  EXPECT_EQ(FindMp3File("data/song.mp3", dir / "demo/data/"), dir / "demo/data/song.mp3");
  EXPECT_EQ(FindMp3File("data/song.mp3", "../demo/data"), "../demo/data/song.mp3");
  // Then relative to the data folder itself.
  EXPECT_EQ(FindMp3File("song.mp3", dir / "demo/data"), dir / "demo/data/song.mp3");
  // The parent wins over the folder itself.
  std::filesystem::create_directories(dir / "demo/data/data");
  WriteFile(dir / "demo/data/data/song.mp3", "inside");
  EXPECT_EQ(FindMp3File("data/song.mp3", dir / "demo/data"), dir / "demo/data/song.mp3");
}

TEST_F(Mp3Location, NamesTheFileAsWrittenWhenNothingIsThere) {
  EXPECT_EQ(FindMp3File("data/missing.mp3", dir / "demo/data"), "data/missing.mp3");
  EXPECT_EQ(FindMp3File(dir / "nowhere/song.mp3", dir / "demo/data"), dir / "nowhere/song.mp3");
  EXPECT_EQ(FindMp3File("", dir / "demo/data"), "");
  // A folder of that name is no MP3.
  std::filesystem::create_directories(dir / "demo/data/folder.mp3");
  EXPECT_EQ(FindMp3File("folder.mp3", dir / "demo/data"), "folder.mp3");
}

TEST_F(Mp3Location, TheSequenceReaderFindsTheMp3OfAFolderPlayedFromElsewhere) {
  WriteFile(dir / "demo/data/sceneseq.txt", CrLf({"60000", "ratio", "2.35", "mp3", "data/song.mp3", "entries"}) +
                                                CrLf({"0", "0", "1000", "1", "0", "0", "0", "0", "~~~"}));
  std::vector<std::string> faults;
  LoadReports reports;
  reports.FatalError = [&](const std::string&, const std::string& text) { faults.push_back(text); };
  SceneSequence sequence;
  EXPECT_EQ(LoadSceneSequence(dir / "demo/data/sceneseq", sequence, reports), 1);
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(sequence.Mp3FileName, "data/song.mp3");  // kept as written, so a save writes it back unchanged

  std::filesystem::remove(dir / "demo/data/song.mp3");
  LoadSceneSequence(dir / "demo/data/sceneseq", sequence, reports);
  EXPECT_EQ(faults, std::vector<std::string>{kMsgBadMp3});
}
