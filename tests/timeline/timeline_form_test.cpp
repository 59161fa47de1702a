// The timeline's logic without a window: time and pixels, hit testing, snapping, dragging entries and
// their ends, the entry operations, typed fields, saving, and undo shared with the tweak window.
#include <gtest/gtest.h>

#include "scene/decimal_text.h"
#include "scene/scene_messages.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_messages.h"
#include "tweak/tweak_messages.h"
#include "authoring/undo_history.h"
#include "support/sequence_entry.h"

namespace {

// 10 s over 1012 pixels: 1000 px of axis between the margins, so 1 px = 10 ms.
class Timeline : public ::testing::Test {
 protected:
  Timeline() {
    sequence.DemoLength = 10000;
    sequence.ScreenCinemaWidthRatio = 8;
    sequence.Mp3FileName = "song.mp3";
    sequence.SequenceEntries = {Entry(0, 0, 3999), Entry(1, 2000, 5999), Entry(2, 6000, 9999)};
    host.sequence = &sequence;
    host.scene = &scene;
    host.history = &history;
    host.dataDir = dir.Path();
    host.Seek = [this](uint32_t ms) { seeks.push_back(ms); };
    host.SetLoop = [this](uint32_t in, uint32_t out) { loop = {in, out}; };
    host.SequenceSaved = [this] { ++saves; };
    host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    SetUpTimeline(form);
    form.geometry = {1012, 200, 10000, 3, {}};
  }
  int X(uint32_t ms) const { return static_cast<int>(PixelOfTime(form.geometry, ms)); }
  int RowY(int entry) const { return RowTopPx(form.geometry, entry) + 3; }
  void Drag(int fromX, int y, int toX) {
    PressAt(form, fromX, y, false);
    DragTo(form, (fromX + toX) / 2, y);
    DragTo(form, toX, y);
    Release(form);
  }
  const TSceneSeqEntry& At(int i) const { return sequence.SequenceEntries[i]; }
  // Undo or Redo as the program runs it: a step of the sequence is put back into the timeline.
  bool Step(bool (*step)(UndoHistory&, LiveSetState&, SequenceSnapshot*)) {
    SequenceSnapshot snapshot = TimelineSnapshot(form);
    LiveSetState live{scene.LiveParams, {}};
    const bool stepped = step(history, live, &snapshot);
    scene.LiveParams = live.params;
    if (!(snapshot == TimelineSnapshot(form))) PutTimelineSnapshot(form, snapshot);
    return stepped;
  }

  TempDir dir;
  SceneSequence sequence;
  SceneState scene;
  UndoHistory history;
  TimelineHost host;
  TimelineForm form{host};
  std::vector<uint32_t> seeks;
  std::pair<uint32_t, uint32_t> loop{};
  int saves = 0;
  std::vector<std::string> messages;
};

}  // namespace

TEST(TimelineGeometry, TimeAndPixelsMapBothWays) {
  const TimelineGeometry g{1012, 200, 10000, 3, {}};
  EXPECT_EQ(PixelOfTime(g, 0), kTimelineMarginPx);
  EXPECT_EQ(PixelOfTime(g, 10000), 1012 - kTimelineMarginPx);
  for (int x = kTimelineMarginPx; x < 1000; x += 37) EXPECT_EQ(PixelOfTime(g, TimeOfPixel(g, x)), x);
  EXPECT_EQ(TimeOfPixel(g, -50), 0u) << "clamped to the axis";
  EXPECT_EQ(TimeOfPixel(g, 5000), 10000u);
}

TEST(TimelineGeometry, HitTestFindsAxisRowsBarsAndEnds) {
  const TimelineGeometry g{1012, 200, 10000, 2, {}};
  SceneSequence sequence;
  sequence.SequenceEntries = {Entry(0, 1000, 2999), Entry(1, 5000, 5999)};
  const int row1 = RowTopPx(g, 1) + 2;
  EXPECT_EQ(HitTest(g, sequence, 300, 5).spot, TimelineSpot::Axis);
  EXPECT_EQ(HitTest(g, sequence, 300, kAxisHeightPx + 5).spot, TimelineSpot::Axis) << "the waveform band too";
  EXPECT_EQ(HitTest(g, sequence, 206, kRowsTopPx + 2).spot, TimelineSpot::Bar);
  const TimelineHit end = HitTest(g, sequence, 305, kRowsTopPx + 2);
  EXPECT_EQ(end.spot, TimelineSpot::BarEnd);
  EXPECT_EQ(end.entry, 0);
  EXPECT_EQ(HitTest(g, sequence, 107, kRowsTopPx + 2).spot, TimelineSpot::BarStart);
  const TimelineHit outside = HitTest(g, sequence, 300, row1);
  EXPECT_EQ(outside.spot, TimelineSpot::Row);
  EXPECT_EQ(outside.entry, 1);
  EXPECT_EQ(HitTest(g, sequence, 556, row1).spot, TimelineSpot::Bar);
  EXPECT_EQ(HitTest(g, sequence, 300, RowTopPx(g, 2) + 2).spot, TimelineSpot::None) << "below the last row";
}

TEST_F(Timeline, DraggingABarMovesItOnTheGridAsOneUndoStep) {
  Drag(X(2500), RowY(1), X(2500) + 123);  // 1230 ms to the right
  EXPECT_EQ(At(1).StartTime, 3230u);
  EXPECT_EQ(At(1).EndTime, 7229u) << "the length is kept";
  EXPECT_EQ(form.selected, 1);
  EXPECT_EQ(form.fields[int(TimelineField::Start)], "3230");
  ASSERT_EQ(history.undo.size(), 1u) << "the whole drag is one step";
  EXPECT_GT(form.revision, 0u) << "the sequence counts as changed";

  form.bpm = 120;
  Drag(X(4000), RowY(1), X(4000) + 24);  // 240 ms: the start goes to the nearest beat
  EXPECT_EQ(At(1).StartTime, 3500u);
  EXPECT_EQ(At(1).EndTime, 7499u);

  ASSERT_TRUE(Step(Undo));
  ASSERT_TRUE(Step(Undo));
  EXPECT_EQ(At(1), Entry(1, 2000, 5999));
  EXPECT_EQ(form.fields[int(TimelineField::Start)], "2000") << "the fields show the restored entry";
  ASSERT_TRUE(Step(Redo));
  EXPECT_EQ(At(1).StartTime, 3230u);
}

TEST_F(Timeline, DraggingAnEndMovesOnlyThatEndAndTheEntryStopsJustBeforeTheBeat) {
  form.bpm = 120;
  Drag(X(6000) - 1 + 1, RowY(1), X(7100));  // the bar's end (6000 px) to 7100 ms: the beat at 7000
  EXPECT_EQ(At(1).StartTime, 2000u);
  EXPECT_EQ(At(1).EndTime, 6999u);
  Drag(X(2000) + 1, RowY(1), X(3400));  // the start to the beat at 3500
  EXPECT_EQ(At(1).StartTime, 3500u);
  EXPECT_EQ(At(1).EndTime, 6999u);
  Drag(X(3500) + 1, RowY(1), X(9000));  // past the end: the entry shrinks to its end, no further
  EXPECT_EQ(At(1).StartTime, 6999u);
  EXPECT_EQ(history.undo.size(), 3u);
}

// Ends are taken within 6 px outside and inside a long bar (a third of a short one); a press that moves
// less than kDragStartPx before its release moves nothing and is no step.
TEST_F(Timeline, EndsAreGrabbedWithin6PixelsAndAShakyClickMovesNothing) {
  const double endPx = PixelOfTime(form.geometry, 6000);  // entry 1 is drawn to the ms before 6000
  for (const double offsetPx : {-5.0, 5.5}) {
    EXPECT_EQ(HitTest(form.geometry, sequence, int(endPx + offsetPx), RowY(1)).spot, TimelineSpot::BarEnd) << offsetPx;
  }
  EXPECT_EQ(HitTest(form.geometry, sequence, int(endPx - 20), RowY(1)).spot, TimelineSpot::Bar);
  sequence.SequenceEntries[1] = Entry(1, 2000, 2089);  // 9 px: the middle third moves it
  EXPECT_EQ(HitTest(form.geometry, sequence, X(2045), RowY(1)).spot, TimelineSpot::Bar);
  EXPECT_EQ(HitTest(form.geometry, sequence, X(2000), RowY(1)).spot, TimelineSpot::BarStart);

  form.bpm = 120;
  sequence.SequenceEntries[0] = Entry(0, 230, 3999);  // off the beat
  const TSceneSeqEntry before = At(0);
  PressAt(form, X(1000), RowY(0), false);
  DragTo(form, X(1000) + kDragStartPx - 1, RowY(0));  // a hand that shook
  Release(form);
  EXPECT_EQ(At(0), before) << "not put on the beat by a click";
  EXPECT_TRUE(history.undo.empty());
  Drag(X(1000), RowY(0), X(1000) + 60);  // 600 ms to the right, onto the beat
  EXPECT_EQ(At(0).StartTime, 1000u);
  EXPECT_EQ(history.undo.size(), 1u);
}

TEST_F(Timeline, DraggedTimesSnapToOtherEntriesAndTheCursorAndAltTurnsSnappingOff) {
  form.bpm = 120;
  form.cursorMs = 7230;
  Drag(X(4000), RowY(1), X(4000) + 197);  // start 3970: just before entry 0's end at 4000
  EXPECT_EQ(At(1), Entry(1, 4000, 7999));
  Drag(X(7999) - 1, RowY(1), X(7250));  // the end near the cursor
  EXPECT_EQ(At(1).EndTime, 7229u) << "the entry stops just before the cursor";

  PressAt(form, X(5000), RowY(1), false);
  DragTo(form, X(5000) + 33, RowY(1), /*snapOff=*/true);
  Release(form);
  EXPECT_EQ(At(1), Entry(1, 4330, 7559)) << "Alt held: whole ms, no grid";
}

TEST_F(Timeline, NoEntryIsDraggedPastTheDemosEnd) {
  Drag(X(4000), RowY(1), X(9500));  // 5.5 s to the right: the bar stops with its end at the demo's end
  EXPECT_EQ(At(1), Entry(1, 6000, 9999));
  Drag(X(2000), RowY(0), X(2000) + 900);
  EXPECT_EQ(At(0), Entry(0, 6000, 9999));
  SelectEntry(form, 2);
  TypeTimelineText(form, TimelineField::End, "7999");
  Drag(X(8000) - 1, RowY(2), X(10000) + 50);  // the end dragged past the axis
  EXPECT_EQ(At(2).EndTime, 9999u);

  form.cursorMs = 9000;  // "add" near the end: the new entry is cut at the demo's end
  ClickTimelineButton(form, TimelineButton::Add);
  EXPECT_EQ(At(3), Entry(2, 9000, 9999));
}

TEST_F(Timeline, TheSelectedEntryIsScrolledIntoView) {
  sequence.SequenceEntries.assign(255, Entry(0, 0, 3999));
  form.notes.separators.assign(255, "~");
  form.geometry.entryCount = 255;
  SelectEntry(form, 200);
  const int top = RowTopPx(form.geometry, 200);
  EXPECT_GE(top, kRowsTopPx);
  EXPECT_LE(top + RowHeightPx(form.geometry), form.geometry.heightPx);
  EXPECT_EQ(HitTest(form.geometry, sequence, X(2000), top + 5).entry, 200);
  ClickTimelineButton(form, TimelineButton::Up);
  EXPECT_GE(RowTopPx(form.geometry, 199), kRowsTopPx);
  SelectEntry(form, 0);
  EXPECT_EQ(form.geometry.view.rowsScrolledPx, 0);
}

TEST_F(Timeline, AxisSeeksAndSetsTheLoop) {
  PressAt(form, X(1500), 5, false);
  DragTo(form, X(2500), 5);
  Release(form);
  EXPECT_EQ(seeks, (std::vector<uint32_t>{1500, 2500}));
  PressAt(form, X(7000), 30, true);
  DragTo(form, X(4000), 30);
  Release(form);
  EXPECT_EQ(loop, (std::pair<uint32_t, uint32_t>{4000, 7000}));
  EXPECT_EQ(seeks.size(), 2u) << "a loop drag does not seek";
  EXPECT_TRUE(history.undo.empty()) << "seeking changes no data";
}

TEST_F(Timeline, AddDuplicateDeleteAndMoveEntries) {
  form.cursorMs = 4321;
  form.pickedPreset = 11;  // a preset just saved and picked in "set"
  ClickTimelineButton(form, TimelineButton::Add);
  ASSERT_EQ(sequence.SequenceEntries.size(), 4u);
  EXPECT_EQ(At(3), Entry(11, 4320, 8319)) << "at the current time on the 10 ms grid, four seconds long";
  EXPECT_EQ(form.selected, 3);
  form.bpm = 120;
  ClickTimelineButton(form, TimelineButton::Add);
  EXPECT_EQ(At(4), Entry(11, 4000, 7999)) << "eight beats from the beat at or before the cursor";

  SelectEntry(form, 0);
  form.notes.separators[0] = "~~~ intro";
  ClickTimelineButton(form, TimelineButton::Duplicate);
  EXPECT_EQ(At(1), Entry(0, 4000, 7999)) << "the copy follows right after the original";
  EXPECT_EQ(form.notes.separators[1], "~~~ intro");
  EXPECT_EQ(form.selected, 1);

  ClickTimelineButton(form, TimelineButton::Up);
  EXPECT_EQ(At(0), Entry(0, 4000, 7999));
  EXPECT_EQ(form.selected, 0);
  ClickTimelineButton(form, TimelineButton::Up);  // already first: nothing
  ClickTimelineButton(form, TimelineButton::Down);
  ClickTimelineButton(form, TimelineButton::Down);
  EXPECT_EQ(At(2), Entry(0, 4000, 7999));
  ClickTimelineButton(form, TimelineButton::Delete);
  EXPECT_EQ(sequence.SequenceEntries.size(), 5u);
  EXPECT_EQ(form.notes.separators.size(), 5u);
  EXPECT_EQ(history.undo.size(), 7u) << "each operation one step";
  while (Step(Undo)) {
  }
  EXPECT_EQ(sequence.SequenceEntries,
            (std::vector<TSceneSeqEntry>{Entry(0, 0, 3999), Entry(1, 2000, 5999), Entry(2, 6000, 9999)}));
  EXPECT_TRUE(messages.empty());
}

// Keys belong to their entry: adding, duplicating, moving and deleting entries carry them along, undo and
// redo put them back, and a save writes them where the reader finds them.
TEST_F(Timeline, EntriesKeepTheirKeysThroughEveryOperationUndoAndSave) {
  const auto keyed = [](int i) {
    return AutomationTracks{{4, {{0, float(i + 1), KeyCurve::Linear}, {500, 9, KeyCurve::Step}}}};
  };
  for (int i = 0; i < 3; ++i) sequence.SequenceEntries[i].Tracks = keyed(i);
  const std::vector<TSceneSeqEntry> before = sequence.SequenceEntries;
  form.cursorMs = 1000;
  ClickTimelineButton(form, TimelineButton::Add);
  EXPECT_TRUE(At(3).Tracks.empty()) << "a new entry has no keys";
  SelectEntry(form, 1);
  ClickTimelineButton(form, TimelineButton::Duplicate);
  EXPECT_EQ(At(2).Tracks, keyed(1)) << "the copy has the original's keys";
  ClickTimelineButton(form, TimelineButton::Up);
  ClickTimelineButton(form, TimelineButton::Up);
  EXPECT_EQ(At(0).Tracks, keyed(1));
  EXPECT_EQ(At(1).Tracks, keyed(0));
  SelectEntry(form, 1);
  ClickTimelineButton(form, TimelineButton::Delete);
  const std::vector<AutomationTracks> kept = {keyed(1), keyed(1), keyed(2), {}};
  ASSERT_EQ(sequence.SequenceEntries.size(), kept.size());
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(At(int(i)).Tracks, kept[i]) << i;
  const std::vector<TSceneSeqEntry> after = sequence.SequenceEntries;

  while (Step(Undo)) {
  }
  EXPECT_EQ(sequence.SequenceEntries, before);
  while (Step(Redo)) {
  }
  EXPECT_EQ(sequence.SequenceEntries, after);

  WriteFile(dir / "song.mp3", "x");
  sequence.Mp3FileName = dir / "song.mp3";
  ClickTimelineButton(form, TimelineButton::Save);
  EXPECT_EQ(saves, 1);
  SceneSequence read;
  LoadSceneSequence(dir / "sceneseq", read, {});
  EXPECT_EQ(read, sequence);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Timeline, NoMoreThan255Entries) {
  sequence.SequenceEntries.resize(kMaxSequenceEntries);
  form.notes.separators.resize(kMaxSequenceEntries, kEntrySeparator);
  ClickTimelineButton(form, TimelineButton::Add);
  EXPECT_EQ(sequence.SequenceEntries.size(), size_t(kMaxSequenceEntries));
  EXPECT_EQ(messages, std::vector<std::string>{kMsgSequenceFull});
}

TEST_F(Timeline, AFieldStoresOnlyAWholeValidTextWhenFinishedAndBadTextGetsOneMessage) {
  SelectEntry(form, 2);
  EXPECT_EQ(form.fields[int(TimelineField::Preset)], "2");
  for (const char* text : {"-", "-1", "-1.", "-1.5"}) TypeTimelineText(form, TimelineField::Factor, text);
  EXPECT_EQ(At(2).TimeFactor, 1.0f) << "typing stores nothing";
  FinishTimelineText(form, TimelineField::Factor);
  EXPECT_EQ(At(2).TimeFactor, -1.5f);
  EXPECT_EQ(history.undo.size(), 1u) << "one finished value, one step";
  TypeTimelineText(form, TimelineField::Offset, "1e");
  FinishTimelineText(form, TimelineField::Offset);
  FinishTimelineText(form, TimelineField::Offset);
  EXPECT_EQ(At(2).TimeOffset, 0);
  EXPECT_EQ(messages, std::vector<std::string>{"'1e' is not a valid number"}) << "once for that text";
  // A rejected text changes nothing, not even by a prefix it passed through while typed.
  for (const char* text : {"3", "30", "300"}) TypeTimelineText(form, TimelineField::Preset, text);
  FinishTimelineText(form, TimelineField::Preset);
  EXPECT_EQ(At(2).PresetNumber, 2);
  EXPECT_EQ(messages.back(), "'300' is out of the range 0..255");
  for (const char* text : {"1", "12", "12.", "12.5"}) TypeTimelineText(form, TimelineField::Start, text);
  FinishTimelineText(form, TimelineField::Start);
  EXPECT_EQ(At(2).StartTime, 6000u);
  EXPECT_EQ(messages.back(), "'12.5' is not a valid whole number");
  EXPECT_EQ(form.fields[int(TimelineField::Start)], "6000") << "the field shows the stored value again";
  for (const char* text : {"1", "1e", "1e3", "1e39"}) TypeTimelineText(form, TimelineField::Factor, text);
  FinishTimelineText(form, TimelineField::Factor);
  EXPECT_EQ(At(2).TimeFactor, -1.5f);
  EXPECT_EQ(messages.back(), "'1e39' is too large for a 32-bit float");
  TypeTimelineText(form, TimelineField::Ratio, "1.5");
  FinishTimelineText(form, TimelineField::Ratio);
  EXPECT_EQ(sequence.ScreenCinemaWidthRatio, 8.0f);
  // The length applies on Enter: the keystrokes of 90000 never shorten the demo on the way.
  for (const char* text : {"9", "90", "900", "9000"}) {
    TypeTimelineText(form, TimelineField::Length, text);
    EXPECT_EQ(sequence.DemoLength, 10000u) << text;
  }
  const uint64_t revisionBefore = form.revision;
  TypeTimelineText(form, TimelineField::Length, "90000");
  FinishTimelineText(form, TimelineField::Length);
  EXPECT_EQ(sequence.DemoLength, 90000u);
  EXPECT_EQ(form.revision, revisionBefore + 1);
  TypeTimelineText(form, TimelineField::Bpm, "128");
  FinishTimelineText(form, TimelineField::Bpm);
  EXPECT_EQ(form.bpm, 128.0);
  EXPECT_EQ(NotesBpm(form.notes), 128.0);
  TypeTimelineText(form, TimelineField::Bpm, "");
  FinishTimelineText(form, TimelineField::Bpm);
  EXPECT_EQ(form.bpm, std::nullopt) << "an empty bpm: no beats";
}

TEST_F(Timeline, SequenceAndLiveSetStepsUndoEachOnlyTheirOwnPart) {
  const TScene1ParamIArray liveBefore = scene.LiveParams;
  TScene1ParamIArray liveAfter = liveBefore;
  liveAfter[0].BaseVal = 99;
  RecordChange(history, {liveBefore, {}}, {liveAfter, {}}, std::nullopt);  // as the tweak window records it
  scene.LiveParams = liveAfter;
  SelectEntry(form, 0);
  TypeTimelineText(form, TimelineField::End, "1999");
  FinishTimelineText(form, TimelineField::End);
  ASSERT_TRUE(Step(Undo));
  EXPECT_EQ(At(0).EndTime, 3999u);
  EXPECT_EQ(scene.LiveParams[0].BaseVal, 99) << "the live set stays";
  ASSERT_TRUE(Step(Undo));
  EXPECT_TRUE(SameParams(scene.LiveParams, liveBefore));
  EXPECT_EQ(At(0).EndTime, 3999u);
}

TEST_F(Timeline, SaveWritesTheFileTheReaderTakes) {
  WriteFile(dir / "song.mp3", "x");
  sequence.Mp3FileName = dir / "song.mp3";
  TypeTimelineText(form, TimelineField::Bpm, "120");
  FinishTimelineText(form, TimelineField::Bpm);
  Drag(X(6500), RowY(2), X(6500) - 48);  // 480 ms back, to the beat at 5500
  ClickTimelineButton(form, TimelineButton::Save);
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(messages.empty());
  SceneSequence read;
  LoadSceneSequence(dir / "sceneseq", read, {});
  EXPECT_EQ(read, sequence);
  EXPECT_EQ(read.SequenceEntries[2].StartTime, 5500u);
  EXPECT_EQ(NotesBpm(ReadSequenceNotes(dir / "sceneseq.txt", 3)), 120.0);

  host.dataDir = dir / "missing";
  ClickTimelineButton(form, TimelineButton::Save);
  EXPECT_EQ(saves, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("No such file or directory"), std::string::npos) << messages[0];
}

TEST_F(Timeline, OnTheInstalledDemoSaveWritesNothingAndSaysWhy) {
  host.readOnly = true;
  ClickTimelineButton(form, TimelineButton::Save);
  EXPECT_EQ(saves, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "sceneseq.txt"));
  EXPECT_EQ(messages, std::vector<std::string>{kMsgInstalledDemoReadOnly});
}

TEST_F(Timeline, SaveRefusesASequenceWithNoEntriesAndKeepsTheFile) {
  WriteFile(dir / "song.mp3", "x");
  sequence.Mp3FileName = dir / "song.mp3";
  ClickTimelineButton(form, TimelineButton::Save);
  const std::string saved = ReadFile(dir / "sceneseq.txt");
  for (int i = 0; i < 3; ++i) {
    SelectEntry(form, 0);
    ClickTimelineButton(form, TimelineButton::Delete);
  }
  ASSERT_TRUE(sequence.SequenceEntries.empty());
  ClickTimelineButton(form, TimelineButton::Save);
  EXPECT_EQ(saves, 1) << "only the first save happened";
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(kMsgSaveNoEntries), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find(kMsgSequenceSaveKept), std::string::npos) << messages[0];
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), saved);
}

TEST_F(Timeline, GuessFillsAnEmptyBpmFromTheOnsetsAsOneUndoStep) {
  ClickTimelineButton(form, TimelineButton::GuessBpm);
  EXPECT_EQ(messages, std::vector<std::string>{kMsgGuessNoBeat}) << "no envelopes";
  auto envelopes = std::make_shared<SoundEnvelopes>();
  std::vector<float>& onsets = envelopes->levels[size_t(SoundSource::Onset)];
  onsets.assign(20000, 0);
  for (size_t ms = 0; ms < onsets.size(); ms += 500) onsets[ms] = 1;  // 120 bpm
  scene.Envelopes = envelopes;
  ClickTimelineButton(form, TimelineButton::GuessBpm);
  ASSERT_TRUE(form.bpm);
  EXPECT_NEAR(*form.bpm, 120, 0.5);
  EXPECT_EQ(form.fields[static_cast<int>(TimelineField::Bpm)], FormatShortest(static_cast<float>(*form.bpm)));
  EXPECT_EQ(NotesBpm(form.notes), form.bpm) << "the bpm line is written with the sequence";
  EXPECT_EQ(history.undo.size(), 1u);

  ClickTimelineButton(form, TimelineButton::GuessBpm);
  EXPECT_EQ(messages.back(), kMsgGuessNeedsEmptyBpm);
  EXPECT_EQ(history.undo.size(), 1u);
  ASSERT_TRUE(Step(Undo));
  EXPECT_FALSE(form.bpm);
}
