// The recovery file's own format: read back whole, the same under every language setting, refused with
// its place when damaged.
#include <gtest/gtest.h>

#include <clocale>

#include "devmode/recovery_file.h"
#include "support/temp_dir.h"

namespace {

RecoveredWork SomeWork() {
  RecoveredWork work{"/data/", LiveSetState{InitParamTable(), {"/data/scene1.txt", "/data/", "scene1.txt", 1}},
                     SequenceSnapshot{}};
  work.liveSet->params[4].BaseVal = 2.5f;
  work.liveSet->params[4].Osc1 = 0.00009f;
  SequenceSnapshot& sequence = *work.sequence;
  sequence.sequence.DemoLength = 45000;
  sequence.sequence.ScreenCinemaWidthRatio = 2.35f;
  sequence.sequence.Mp3FileName = "song.mp3";
  TSceneSeqEntry entry;
  entry.EndTime = 1999;
  entry.TimeFactor = 1.5f;
  entry.Tracks = {{4, {{0, 0.1f, KeyCurve::Smooth}, {500, -2.5f, KeyCurve::Step}}}};  // the keys come back too
  sequence.sequence.SequenceEntries = {entry};
  sequence.notes.comments = {"// bpm: 120"};
  sequence.notes.separators = {"~~~"};
  return work;
}

TEST(RecoveryFile, ReadsBackWhatWasWrittenUnderAnotherDecimalSeparator) {
  TempDir dir;
  const std::string path = dir / "state/quarnel/data.recovery";
  const RecoveredWork work = SomeWork();
  const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  ASSERT_EQ(WriteRecovery(path, RecoveryText(work)), "");
  std::setlocale(LC_NUMERIC, "C");
  RecoveredWork read;
  ASSERT_EQ(ReadRecovery(path, read), "");
  EXPECT_EQ(read.dataDir, work.dataDir);
  ASSERT_TRUE(read.liveSet && read.sequence);
  EXPECT_TRUE(SameParams(read.liveSet->params, work.liveSet->params));
  EXPECT_EQ(read.liveSet->source, work.liveSet->source);
  EXPECT_EQ(*read.sequence, *work.sequence);
  if (!german) GTEST_SKIP() << "locale de_DE.UTF-8 missing (tools/setup.sh makes it): read back under C only";
}

TEST(RecoveryFile, ADamagedFileIsRefusedWithItsPlace) {
  TempDir dir;
  const std::string path = dir / "x.recovery";
  RecoveredWork read;
  WriteFile(path, "something else\n");
  EXPECT_EQ(ReadRecovery(path, read), path + ": not a recovery file of this program");
  const std::string text = RecoveryText(SomeWork());
  WriteFile(path, text.substr(0, text.size() / 2));
  EXPECT_EQ(ReadRecovery(path, read).rfind(path + ": broken at byte ", 0), 0u);
  WriteFile(path, "quarnel recovery 1\nnews 2\nhi\n");
  EXPECT_EQ(ReadRecovery(path, read), path + ": unknown field news");
  WriteFile(path, "quarnel recovery 1\nsource 0\n\nlive 5\nbyte:\n");
  EXPECT_NE(ReadRecovery(path, read).find(path + ":"), std::string::npos) << "the preset reader's fault, with its line";
}

}  // namespace
