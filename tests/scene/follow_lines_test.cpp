// Follow lines in the sequence file: read into the entries' follows (all or none), written back after
// the key lines, kept out of the notes; every refused line named by place and reason.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/errors.h"
#include "scene/follow_line.h"
#include "scene/scene_messages.h"
#include "scene/scene_update.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"

namespace {

class FollowLines : public ::testing::Test {
 protected:
  // A sequence file of three entries with the given header lines.
  std::string Write(std::initializer_list<std::string> header) {
    WriteFile(dir / "song.mp3", "x");
    std::string text;
    for (const std::string& line : header) text += line + "\r\n";
    text += CrLf({"96000", "ratio", "2.35", "mp3", dir / "song.mp3", "entries"});
    for (int i = 0; i < 3; ++i) text += CrLf({"0", "0", "1000", "1", "0", "0", "0", "0", "~~~"});
    WriteFile(dir / "sceneseq.txt", text);
    return text;
  }
  SceneSequence Load() {
    SceneSequence sequence;
    LoadSceneSequence(dir / "sceneseq", sequence, {[](auto&, auto&) {}, [](auto&, auto&) {}, nullptr});
    return sequence;
  }
  TempDir dir;
};

}  // namespace

TEST_F(FollowLines, ARoundTripKeepsFollowsKeysAndNotes) {
  Write({"// my demo", "// follow 2 40 onset -0.5 1", "// key 0 4 0 2 linear", "// follow 2 3 mid 1.5 0.25",
         "// follow 0 0 low 2 0", "// bpm: 120"});
  const SceneSequence sequence = Load();
  EXPECT_EQ(sequence.SequenceEntries[0].Follows, (ParamFollows{{0, SoundSource::Low, 2, 0}}));
  EXPECT_TRUE(sequence.SequenceEntries[1].Follows.empty());
  EXPECT_EQ(sequence.SequenceEntries[2].Follows,
            (ParamFollows{{3, SoundSource::Mid, 1.5f, 0.25f}, {40, SoundSource::Onset, -0.5f, 1}}))
      << "in parameter order";
  const SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", 3);
  EXPECT_EQ(notes.comments, (std::vector<std::string>{"// my demo", "// bpm: 120"})) << "follows are no notes";
  const std::string text = SceneSequenceText(sequence, notes);
  EXPECT_EQ(text.rfind(CrLf({"// my demo", "// bpm: 120", "// key 0 4 0 2 linear", "// follow 0 0 low 2 0",
                             "// follow 2 3 mid 1.5 0.25", "// follow 2 40 onset -0.5 1", "96000"}),
                       0),
            0u)
      << text;
  ASSERT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, notes), "");
  EXPECT_EQ(Load(), sequence);
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), text);
}

TEST_F(FollowLines, ABadOneIsRefusedWithItsPlaceAndNoEntryGetsAny) {
  const std::string at = dir / "sceneseq.txt:3: ";
  const auto refused = [&](const std::string& line, const std::string& message, bool range) {
    Write({"// follow 0 4 low 1 0", "// note", line});
    SceneSequence sequence;
    try {
      LoadSceneSequence(dir / "sceneseq", sequence, {[](auto&, auto&) {}, [](auto&, auto&) {}, nullptr});
      ADD_FAILURE() << line << " was read";
    } catch (const RangeError& error) {
      EXPECT_TRUE(range) << line;
      EXPECT_EQ(error.what(), at + message);
    } catch (const ConversionError& error) {
      EXPECT_FALSE(range) << line;
      EXPECT_EQ(error.what(), at + message);
    }
    for (const TSceneSeqEntry& entry : sequence.SequenceEntries) EXPECT_TRUE(entry.Follows.empty()) << line;
  };
  refused("// follow 0 4 low", kMsgFollowFields, false);
  refused("// follow 0 4 bass 1 0", std::string("'bass'") + kMsgFollowSource, false);
  refused("// follow 0 4 low 1 nan", std::string("'nan'") + kMsgFollowOffset, false);
  refused("// follow 3 4 low 1 0", std::string("3") + kMsgFollowNoSuchEntry + "3" + kMsgFollowEntriesEnd, true);
  refused("// follow 0 4 high 2 0", std::string(kMsgFollowSecond) + "4" + kMsgFollowOfEntry + "0", true);
}

TEST_F(FollowLines, ASequenceWhoseFollowsTheReaderWouldRefuseIsNotWritten) {
  Write({});
  const std::string before = ReadFile(dir / "sceneseq.txt");
  const SceneSequence loaded = Load();
  const auto refused = [&](ParamFollows follows, const std::string& reason) {
    SceneSequence sequence = loaded;
    sequence.SequenceEntries[1].Follows = std::move(follows);
    EXPECT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, {}),
              dir / "sceneseq.txt: " + kMsgSaveBadFollows + "1: " + reason);
    EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), before);
  };
  refused({{4, SoundSource::Low, 1, 0}, {4, SoundSource::Mid, 1, 0}}, kMsgFollowsOutOfOrder);
  refused({{5, SoundSource::Low, 1, 0}, {4, SoundSource::Mid, 1, 0}}, kMsgFollowsOutOfOrder);
  refused({{77, SoundSource::Low, 1, 0}}, kMsgFollowsOutOfOrder);
  refused({{4, SoundSource::Low, NAN, 0}}, kMsgFollowsBadNumbers);
  refused({{4, SoundSource::Low, 1, INFINITY}}, kMsgFollowsBadNumbers);
  refused({{4, SoundSource(7), 1, 0}}, kMsgFollowsBadNumbers);
}

// A layer's evaluation with follows: the base (or the track's value) times offset + gain × the envelope
// at the demo time, oscillators on top, other parameters as the set holds them.
TEST(FollowedEvaluation, ScalesTheBaseOrTrackedValueByTheEnvelopeAtTheDemoTime) {
  constexpr int kBgR = 0, kTweakX = 4;
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  scene.ScenePresets[0][kBgR].BaseVal = 100;
  scene.ScenePresets[0][kTweakX].BaseVal = 7;
  auto envelopes = std::make_shared<SoundEnvelopes>();
  envelopes->levels[size_t(SoundSource::Low)] = {0, 0.25f, 1};
  envelopes->levels[size_t(SoundSource::Onset)] = {1, 0, 0};
  scene.Envelopes = envelopes;
  TSceneSeqEntry entry;
  entry.StartTime = 1;
  entry.EndTime = 10;
  entry.Follows = {{kBgR, SoundSource::Low, 2, 0.5f}, {kTweakX, SoundSource::Onset, 1, 1}};
  TrackFor(entry.Tracks, kTweakX).Keys = {{0, 10, KeyCurve::Step}};
  const auto at = [&](uint32_t demoMs) {
    return UpdateSceneParams(scene, 0, entry.StartTime, entry.EndTime, 0, false, EntryTracksAt(entry, demoMs));
  };
  EXPECT_EQ(at(1).BG_r, 100) << "0.5 + 2 × 0.25";
  EXPECT_EQ(at(2).BG_r, 250) << "0.5 + 2 × 1";
  EXPECT_FLOAT_EQ(at(1).TweakX, 10) << "the track's value times 1 + 0";
  EXPECT_FLOAT_EQ(at(0).TweakX, 20) << "before the entry: the track's first key, times 1 + 1";
  EXPECT_EQ(at(5).BG_r, 50) << "after the music: the envelope is 0";
  scene.Envelopes = nullptr;
  EXPECT_EQ(at(2).BG_r, 50) << "no envelopes: 0 too";
  EXPECT_EQ(UpdateSceneParams(scene, 0, 0, 10, 0, false, {}).BG_r, 100) << "no follows: the base";
}
