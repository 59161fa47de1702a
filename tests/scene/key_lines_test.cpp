// The key and follow lines of the sequence file: read into the entries' tracks and follows, written back
// from them, every refused line with its place and reason, the other comment lines kept in their order.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "scene/errors.h"
#include "scene/follow_line.h"
#include "scene/key_lines.h"
#include "scene/scene_messages.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"

namespace {

class KeyLines : public ::testing::Test {
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
    LoadSceneSequence(
        dir / "sceneseq", sequence,
        {[](const std::string& where, const std::string& text) { ADD_FAILURE() << where << ": " << text; },
         [](const std::string&, const std::string&) {}, nullptr});
    return sequence;
  }
  // The text of the error that loading raises, with its kind.
  std::string Refused(const std::string& keyLine, bool& range) {
    Write({"// notes", keyLine});
    try {
      Load();
    } catch (const RangeError& error) {
      range = true;
      return error.what();
    } catch (const ConversionError& error) {
      range = false;
      return error.what();
    }
    return "loaded";
  }
  TempDir dir;
};

}  // namespace

TEST_F(KeyLines, AreReadIntoTheEntriesTracksInParameterOrder) {
  Write({"// a note", "// key 2 4 0 -1.5 smooth", "// key 0 12 250 65535 step", "// key  2\t4 1000 1e+38 ramp",
         "// key 2 0 500 255 linear", "// key 2 4 1000 0.1 linear", "// bpm: 120"});
  const SceneSequence sequence = Load();
  EXPECT_EQ(sequence.SequenceEntries[0].Tracks, (AutomationTracks{{12, {{250, 65535, KeyCurve::Step}}}}));
  EXPECT_TRUE(sequence.SequenceEntries[1].Tracks.empty());
  EXPECT_EQ(sequence.SequenceEntries[2].Tracks,
            (AutomationTracks{
                {0, {{500, 255, KeyCurve::Linear}}},
                {4, {{0, -1.5f, KeyCurve::Smooth}, {1000, 1e38f, KeyCurve::Ramp}, {1000, 0.1f, KeyCurve::Linear}}}}))
      << "equal times are a jump, kept in file order";
}

TEST_F(KeyLines, ARoundTripKeepsKeysAndNotesAndAFileWithoutKeysStaysByteForByte) {
  const std::string plain = Write({"// my demo", "// bpm: 120"});
  SceneSequence sequence = Load();
  SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", 3);
  EXPECT_EQ(SceneSequenceText(sequence, notes), plain);

  AutomationTrack& track = TrackFor(sequence.SequenceEntries[1].Tracks, 4);
  track.Keys = {{0, 0.1f, KeyCurve::Step}, {7, -3.4028235e38f, KeyCurve::Smooth}, {2147483647, 1e-7f, KeyCurve::Ramp}};
  TrackFor(sequence.SequenceEntries[1].Tracks, 0).Keys = {{10, 255, KeyCurve::Linear}};
  TrackFor(sequence.SequenceEntries[0].Tracks, 76).Keys = {{3, 1, KeyCurve::Linear}};
  ASSERT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, notes), "");
  const std::string text = ReadFile(dir / "sceneseq.txt");
  EXPECT_EQ(text.rfind(CrLf({"// my demo", "// bpm: 120", "// key 0 76 3 1 linear", "// key 1 0 10 255 linear",
                             "// key 1 4 0 0.1 step", "// key 1 4 7 -3.4028235e+38 smooth",
                             "// key 1 4 2147483647 1e-07 ramp", "96000"}),
                       0),
            0u)
      << text;
  EXPECT_EQ(Load(), sequence) << "every key exactly as written";
  const SequenceNotes reread = ReadSequenceNotes(dir / "sceneseq.txt", 3);
  EXPECT_EQ(reread, notes) << "key lines are tracks, not notes";
  EXPECT_EQ(SceneSequenceText(Load(), reread), text);
}

TEST_F(KeyLines, OtherCommentsKeepTheirOrderAndKeyLinesGoAfterThem) {
  Write({"// first", "// key 0 4 0 2 linear", "//key is a note", "// keyboard too", "// bpm: 120"});
  const SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", 3);
  EXPECT_EQ(notes.comments,
            (std::vector<std::string>{"// first", "//key is a note", "// keyboard too", "// bpm: 120"}));
  EXPECT_EQ(SceneSequenceText(Load(), notes)
                .rfind(CrLf({"// first", "//key is a note", "// keyboard too", "// bpm: 120", "// key 0 4 0 2 linear",
                             "96000"}),
                       0),
            0u);
}

TEST_F(KeyLines, EveryBadLineIsRefusedWithItsPlaceAndReason) {
  const std::string at = dir / "sceneseq.txt:2: ";
  struct Case {
    const char* line;
    bool range;
    std::string message;
  };
  const Case cases[] = {
      {"// key", false, kMsgKeyFields},
      {"// key 0 4 0 1", false, kMsgKeyFields},
      {"// key 0 4 0 1 linear x", false, kMsgKeyFields},
      {"// key x 4 0 1 linear", false, "key ENTRY 'x' is not a valid number"},
      {"// key 3 4 0 1 linear", true, "key ENTRY 3 is out of the range 0..2 (the entries the file holds)"},
      {"// key 255 4 0 1 linear", true, "key ENTRY 255 is out of the range 0..254"},
      {"// key 0 77 0 1 linear", true, "key PARAM 77 is out of the range 0..76"},
      {"// key 0 -1 0 1 linear", true, "key PARAM -1 is out of the range 0..76"},
      {"// key 0 4 1.5 1 linear", false, "key MS '1.5' is not a whole number"},
      {"// key 0 4 -1 1 linear", true, "key MS -1 is out of the range 0..2147483647"},
      {"// key 0 4 2147483648 1 linear", true, "key MS 2147483648 is out of the range 0..2147483647"},
      {"// key 0 4 99999999999999999999 1 linear", true, "key MS 99999999999999999999 is out of the range"},
      {"// key 0 4 0 1,5 linear", false, "key VALUE '1,5' is not a valid number"},
      {"// key 0 4 0 nan linear", false, "key VALUE 'nan' is not a valid number"},
      {"// key 0 4 0 1e39 linear", true, "key VALUE 1e39 is too large for a 32-bit float"},
      {"// key 0 0 0 256 linear", true, "key VALUE 256 is out of the range 0..255 of BG_r"},
      {"// key 0 0 0 -0.5 linear", true, "key VALUE -0.5 is out of the range 0..255 of BG_r"},
      {"// key 0 12 0 65536 linear", true, "key VALUE 65536 is out of the range 0..65535 of NumberOfRingObjects"},
      {"// key 0 7 0 1.01 linear", true, "key VALUE 1.01 is out of the range 0..1 of ClearTarget"},
      {"// key 0 4 0 1 Linear", false, "key CURVE 'Linear' is not a curve: step, linear, smooth or ramp"},
  };
  for (const Case& c : cases) {
    bool range = false;
    const std::string error = Refused(c.line, range);
    EXPECT_EQ(error.rfind(at + c.message, 0), 0u) << c.line << "\n" << error;
    EXPECT_EQ(range, c.range) << c.line;
  }
  bool range = false;
  Write({"// key 1 4 500 1 linear", "// key 1 5 100 1 linear", "// key 1 4 499 1 linear"});
  try {
    Load();
    ADD_FAILURE() << "a key before the previous one of its track loaded";
  } catch (const RangeError& error) {
    range = true;
    EXPECT_EQ(std::string(error.what()),
              dir / "sceneseq.txt:3: key MS 499" + kMsgKeyBeforePrevious + "500" + kMsgKeyTimeOrder);
  }
  EXPECT_TRUE(range);
}

TEST_F(KeyLines, NothingIsHalfApplied) {
  Write({"// key 0 4 0 1 linear", "// key 5 4 0 1 linear"});
  SceneSequence sequence;
  EXPECT_THROW(LoadSceneSequence(dir / "sceneseq", sequence, {[](auto&, auto&) {}, [](auto&, auto&) {}, nullptr}),
               RangeError);
  for (const TSceneSeqEntry& entry : sequence.SequenceEntries) EXPECT_TRUE(entry.Tracks.empty());
}

TEST_F(KeyLines, ReadAndWriteTheSameUnderADecimalCommaLocale) {
  Write({"// key 0 4 0 0.25 linear", "// key 0 4 10 1,5 step"});
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "tools/setup.sh makes this locale";
  SceneSequence sequence;
  std::string text;
  EXPECT_NO_THROW(sequence = Load()) << "',' reads too under a language setting that writes it";
  text = SceneSequenceText(sequence, ReadSequenceNotes(dir / "sceneseq.txt", 3));
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(sequence.SequenceEntries[0].Tracks.at(0).Keys.at(1).Value, 1.5f);
  EXPECT_NE(text.find("// key 0 4 0 0.25 linear\r\n// key 0 4 10 1.5 step\r\n"), std::string::npos)
      << "written with '.' whatever the setting\n"
      << text;
}

TEST_F(KeyLines, ASequenceWhoseKeysTheReaderWouldRefuseIsNotWritten) {
  Write({});
  const std::string before = ReadFile(dir / "sceneseq.txt");
  const SceneSequence loaded = Load();
  const auto refused = [&](AutomationTracks tracks, const std::string& reason) {
    SceneSequence sequence = loaded;
    sequence.SequenceEntries[1].Tracks = std::move(tracks);
    EXPECT_EQ(WriteSceneSequence(dir / "sceneseq.txt", sequence, {}),
              dir / "sceneseq.txt: " + kMsgSaveBadKeys + "1: " + reason);
    EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), before);
  };
  refused({{4, {{0, 1}}}, {4, {{0, 1}}}}, kMsgTracksOutOfOrder);
  refused({{77, {{0, 1}}}}, kMsgTracksOutOfOrder);
  refused({{4, {{10, 1}, {9, 1}}}}, std::string(kMsgTrackOfParam) + "4" + kMsgTrackKeysOutOfOrder);
  refused({{4, {{2147483648u, 1}}}}, std::string(kMsgTrackOfParam) + "4" + kMsgTrackKeyTooLate);
  refused({{0, {{0, 256}}}}, std::string(kMsgTrackOfParam) + "0" + kMsgTrackValueOutOfRange);
  refused({{4, {{0, NAN}}}}, std::string(kMsgTrackOfParam) + "4" + kMsgTrackValueOutOfRange);
}

TEST_F(KeyLines, FollowLinesRoundTripKeepsFollowsKeysAndNotes) {
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

TEST_F(KeyLines, ABadFollowLineIsRefusedWithItsPlaceAndNoEntryGetsAny) {
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

TEST_F(KeyLines, ASequenceWhoseFollowsTheReaderWouldRefuseIsNotWritten) {
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
