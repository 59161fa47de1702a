#include "scene/sequence.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "scene/errors.h"
#include "support/temp_dir.h"
#include "support/time_bound.h"

namespace {

class SequenceFile : public ::testing::Test {
 protected:
  // A sequence file with the given header lines and entry lines; the MP3 exists unless named otherwise.
  std::string Write(const std::string& length, const std::string& ratio, const std::string& entries,
                    const std::string& mp3 = "") {
    WriteFile(dir / "song.mp3", "mp3");
    WriteFile(dir / "sceneseq.txt", CrLf({"// comment", "// another", length, "label", ratio, "label",
                                          mp3.empty() ? dir / "song.mp3" : mp3, "label"}) +
                                        entries);
    return dir / "sceneseq";
  }

  uint8_t Load(const std::string& base) {
    LoadReports reports;
    reports.FatalError = [&](const std::string& where, const std::string& text) {
      faults.push_back(text);
      places.push_back(where);
    };
    reports.Notice = [&](const std::string&, const std::string& text) { notices.push_back(text); };
    return LoadSceneSequence(base, sequence, reports);
  }

  TempDir dir;
  SceneSequence sequence;
  std::vector<std::string> faults, places, notices;
};

const std::string kEntry = CrLf({"2", "5000", "20000", "0.5", "1000", "1", "0.001", "200", "~~~"});

}  // namespace

TEST_F(SequenceFile, ReadsHeaderAndEntries) {
  EXPECT_EQ(Load(Write("60000", "2.35", kEntry + kEntry)), 2);
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(sequence.DemoLength, 60000u);
  EXPECT_EQ(sequence.ScreenCinemaWidthRatio, 2.35f);
  EXPECT_EQ(sequence.Mp3FileName, dir / "song.mp3");
  const TSceneSeqEntry& e = sequence.SequenceEntries[1];
  EXPECT_EQ(e.PresetNumber, 2);
  EXPECT_EQ(e.StartTime, 5000u);
  EXPECT_EQ(e.EndTime, 20000u);
  EXPECT_EQ(e.TimeFactor, 0.5f);
  EXPECT_EQ(e.TimeOffset, 1000);
  EXPECT_EQ(e.WobbleKind, 1);
  EXPECT_EQ(e.WobbleFrequency, 0.001f);
  EXPECT_EQ(e.WobbleAmplitude, 200.0f);
}

TEST_F(SequenceFile, MissingFileGivesNoEntries) { EXPECT_EQ(Load(dir / "none"), 0); }

TEST_F(SequenceFile, WhatIsNoRegularFileIsRefusedWithoutWaitingOrReading) {
  ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "zero.txt");
  std::filesystem::create_symlink("gone.txt", dir / "dangling.txt");
  for (const std::string name : {"fifo", "zero", "dangling"}) {
    EXPECT_EQ(RunWithinBound([&] {
                Load(dir / name);
                return faults.size() == 1 && faults[0].find(dir / name + ".txt: ") != std::string::npos ? 0 : 1;
              }),
              0)
        << name;
  }
}

TEST_F(SequenceFile, LastSeparatorMayBeMissingButATrailingEmptyLineFails) {
  EXPECT_EQ(Load(Write("1000", "3", kEntry.substr(0, kEntry.size() - 5))), 1);
  EXPECT_THROW(Load(Write("1000", "3", kEntry + "\r\n")), ConversionError);
}

TEST_F(SequenceFile, ReportsBadHeaderValuesAndReadsOn) {
  EXPECT_EQ(Load(Write("0", "2", kEntry, dir / "nowhere.mp3")), 1);
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0], "seq file error: no correct demo length setting");
  EXPECT_EQ(faults[1], "seq file error: ScreenCinemaWidthRatio is not between 2 and 10");
  EXPECT_EQ(faults[2], "seq file error: No correct MP3 file");
  EXPECT_EQ(places[0], dir / "sceneseq.txt:3");
  EXPECT_EQ(places[2], dir / "sceneseq.txt:7");
}

TEST_F(SequenceFile, RatioTenIsAcceptedRatioTwoIsNot) {
  Load(Write("1000", "10", kEntry));
  EXPECT_TRUE(faults.empty());
  Load(Write("1000", "10.001", kEntry));
  EXPECT_EQ(faults.size(), 1u);
}

TEST_F(SequenceFile, OutOfRangeFieldsRaiseRangeErrors) {
  const auto entryWith = [](int line, const std::string& value) {
    std::vector<std::string> lines = {"2", "5000", "20000", "0.5", "1000", "1", "0.001", "200", "~~~"};
    lines[line] = value;
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
  };
  EXPECT_THROW(Load(Write("1000", "3", entryWith(0, "256"))), RangeError);
  EXPECT_THROW(Load(Write("1000", "3", entryWith(1, "-1"))), RangeError);
  EXPECT_THROW(Load(Write("1000", "3", entryWith(2, "-5"))), RangeError);
  EXPECT_THROW(Load(Write("1000", "3", entryWith(5, "300"))), RangeError);
  EXPECT_THROW(Load(Write("1000", "3", entryWith(3, "// no"))), ConversionError);
  try {
    Load(Write("1000", "3", kEntry + entryWith(3, "0,5")));
    FAIL();
  } catch (const ConversionError& error) {
    EXPECT_EQ(std::string(error.what()),
              dir / "sceneseq.txt:21: '0,5' is not a valid number " +
                  "(decimals are written with '.'; ',' reads only under a language setting that writes it)");
  }
}

TEST_F(SequenceFile, UsesAtMost255EntriesAndSaysSo) {
  std::string entries;
  for (int i = 0; i < 257; ++i) entries += kEntry;
  EXPECT_EQ(Load(Write("1000", "3", entries)), 255);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("only the first 255 entries are used"), std::string::npos);
}

TEST(EntryEffectTime, FollowsFactorWobbleAndOffset) {
  TSceneSeqEntry entry{2, 5000, 20000, 0.5f, 1000, 1, 0.001f, 200, {}, {}};
  EXPECT_EQ(EntryEffectTime(entry, 10000), 5891u);
  entry.WobbleKind = 3;  // no wobble
  EXPECT_EQ(EntryEffectTime(entry, 10000), 6000u);
  const TSceneSeqEntry identity{0, 0, 100, 1, 0, 0, 0, 0, {}, {}};
  EXPECT_EQ(EntryEffectTime(identity, 12345), 12345u);
  const TSceneSeqEntry frozen{0, 0, 100, 0, 5000, 0, 0, 0, {}, {}};
  EXPECT_EQ(EntryEffectTime(frozen, 99999), 5000u);
  const TSceneSeqEntry halves{0, 0, 100, 0.5f, 0, 0, 0, 0, {}, {}};
  EXPECT_EQ(EntryEffectTime(halves, 5), 2u);  // 2.5 rounds to even
}

TEST(EntryEffectTime, IsClampedIntoTheSigned32BitRange) {
  EXPECT_EQ(EntryEffectTime({0, 0, 0, -1, 0, 0, 0, 0, {}, {}}, 1000), 0u);
  EXPECT_EQ(EntryEffectTime({0, 0, 0, 1, -5000, 0, 0, 0, {}, {}}, 1000), 0u);
  EXPECT_EQ(EntryEffectTime({0, 0, 0, 1, -500, 0, 0, 0, {}, {}}, 1000), 500u);
  EXPECT_EQ(EntryEffectTime({0, 0, 0, 1, 0, 1, 1, 1e6f, {}, {}}, 5), 0u);
  EXPECT_EQ(EntryEffectTime({0, 0, 0, 1e9f, 0, 0, 0, 0, {}, {}}, 1000), 2147483647u);
  EXPECT_EQ(EntryEffectTime({0, 0, 0, 1, 2147483647, 0, 0, 0, {}, {}}, 1000), 2147483647u);
}

TEST(EntryVisible, IncludesBothEnds) {
  const TSceneSeqEntry entry{0, 100, 200, 1, 0, 0, 0, 0, {}, {}};
  EXPECT_FALSE(EntryVisible(entry, 99));
  EXPECT_TRUE(EntryVisible(entry, 100));
  EXPECT_TRUE(EntryVisible(entry, 200));
  EXPECT_FALSE(EntryVisible(entry, 201));
  EXPECT_FALSE(EntryVisible({0, 300, 200, 1, 0, 0, 0, 0, {}, {}}, 250));
}
