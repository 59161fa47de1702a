// The automation lanes of the timeline without a window: where lanes and keys are, adding a track,
// adding, moving, scaling, box-selecting, deleting keys, their values and curves, the sources lanes
// follow with their gain and offset, each one undo step.
#include <gtest/gtest.h>

#include <cmath>

#include "authoring/undo_history.h"
#include "support/temp_dir.h"
#include "timeline/lane_editing.h"
#include "timeline/lane_follow.h"
#include "timeline/timeline_messages.h"
#include "timeline/timeline_view.h"

namespace {

constexpr int kBgRed = 0;   // byte:BG_r
constexpr int kSwitch = 7;  // bool:ClearTarget
constexpr int kReal = 5;    // a sing

// 10 s over 1012 pixels, 1 px = 10 ms. Entry 0 (1 s..5 s) has a byte track with keys at 0, 1 s and
// 2 s and a real track with one key; entry 1 has none.
class Lanes : public ::testing::Test {
 protected:
  Lanes() {
    sequence.DemoLength = 10000;
    sequence.ScreenCinemaWidthRatio = 8;
    TSceneSeqEntry first, second;
    first.StartTime = 1000, first.EndTime = 4999;
    first.Tracks = {{kBgRed, {{0, 0, KeyCurve::Linear}, {1000, 200, KeyCurve::Linear}, {2000, 100, KeyCurve::Step}}},
                    {kReal, {{500, 2.5f, KeyCurve::Smooth}}}};
    second.StartTime = 5000, second.EndTime = 8999;
    sequence.SequenceEntries = {first, second};
    host.sequence = &sequence;
    host.scene = &scene;
    host.history = &history;
    host.dataDir = dir.Path();
    host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    SetUpTimeline(form);
    form.geometry = {1012, 400, 10000, 2, {}};
    SelectEntry(form, 0);
  }
  const AutomationTracks& Tracks(int entry = 0) const { return sequence.SequenceEntries[entry].Tracks; }
  const std::vector<AutomationKey>& Keys(int lane) const { return Tracks()[lane].Keys; }
  int X(uint32_t demoMs) const { return static_cast<int>(PixelOfTime(form.geometry, demoMs)); }
  // Where key `index` of lane's track stands.
  std::pair<int, int> KeySpot(int lane, size_t index) const {
    const AutomationTrack& track = Tracks()[lane];
    const double y = LaneYOfValue(LaneTopPx(form.geometry, lane), LaneValueRange(track), track.Keys[index].Value);
    return {X(1000 + track.Keys[index].TimeMs), static_cast<int>(std::lround(y))};
  }
  int LaneMiddleY(int lane) const { return LaneTopPx(form.geometry, lane) + kLaneHeightPx / 2; }
  void DragKey(int lane, size_t index, int byPx, LanePress press = {}, bool altAtEnd = false) {
    const auto [x, y] = KeySpot(lane, index);
    PressInLane(form, x, y, press);
    DragTo(form, x + byPx / 2, y, altAtEnd);
    DragTo(form, x + byPx, y, altAtEnd);
    Release(form);
  }
  size_t UndoSteps() const { return history.undo.size(); }
  void UndoOnce() {
    SequenceSnapshot snapshot = TimelineSnapshot(form);
    LiveSetState live{scene.LiveParams, {}};
    ASSERT_TRUE(Undo(history, live, &snapshot));
    PutTimelineSnapshot(form, snapshot);
  }

  TempDir dir;
  SceneSequence sequence;
  SceneState scene;
  UndoHistory history;
  TimelineHost host;
  TimelineForm form{host};
  std::vector<std::string> messages;
};

std::vector<uint32_t> Times(const std::vector<AutomationKey>& keys) {
  std::vector<uint32_t> times;
  for (const AutomationKey& key : keys) times.push_back(key.TimeMs);
  return times;
}

}  // namespace

TEST_F(Lanes, TheSelectedEntrysLanesOpenUnderItsRowAndPushTheRowsBelowDown) {
  const TimelineGeometry& g = form.geometry;
  ASSERT_EQ(g.lanesEntry, 0);
  ASSERT_EQ(g.laneCount, 2);
  const int rowPx = RowHeightPx(g);
  EXPECT_EQ(LaneTopPx(g, 0), RowTopPx(g, 0) + rowPx);
  EXPECT_EQ(RowTopPx(g, 1), RowTopPx(g, 0) + rowPx + 2 * kLaneHeightPx);
  const TimelineHit lane = HitTest(g, sequence, X(2000), LaneTopPx(g, 1) + 2);
  EXPECT_EQ(lane.spot, TimelineSpot::Lane);
  EXPECT_EQ(lane.entry, 0);
  EXPECT_EQ(lane.lane, 1);
  EXPECT_EQ(HitTest(g, sequence, X(6000), RowTopPx(g, 1) + 3).entry, 1) << "the row below the lanes";
  EXPECT_EQ(LaneName(form, kBgRed), "BG_r");

  SelectEntry(form, 1);  // no tracks: no lanes, the rows close up
  EXPECT_EQ(form.geometry.laneCount, 0);
  EXPECT_EQ(RowTopPx(form.geometry, 1), RowTopPx(form.geometry, 0) + RowHeightPx(form.geometry));
}

TEST_F(Lanes, LanesCountInTheRowsScrollAndTheVisibleEntries) {
  form.geometry.heightPx = kRowsTopPx + 60;  // room for one row and a bit of the lanes
  KeepViewInRange(form.geometry);
  const int rowPx = RowHeightPx(form.geometry);
  EXPECT_EQ(MaxRowsScrollPx(form.geometry), 2 * rowPx + 2 * kLaneHeightPx - 60);
  ScrollRowsTo(form.geometry, MaxRowsScrollPx(form.geometry));
  const VisibleEntries visible = EntriesInView(form.geometry);
  EXPECT_EQ(visible.first, 0) << "the lanes of entry 0 still show";
  EXPECT_EQ(visible.last, 1);
}

TEST_F(Lanes, AddTrackPutsTheLiveValueAtTheCursorOrIsRefusedWithAMessage) {
  scene.LiveParams[kSwitch].BaseVal = 1;
  form.selectedParam = kSwitch;
  form.cursorMs = 2500;
  ClickTimelineButton(form, TimelineButton::AddTrack);
  ASSERT_NE(FindTrack(Tracks(), kSwitch), nullptr);
  EXPECT_EQ(FindTrack(Tracks(), kSwitch)->Keys, (std::vector<AutomationKey>{{1500, 1, KeyCurve::Linear}}));
  EXPECT_EQ(form.geometry.laneCount, 3) << "a lane in Param order";
  EXPECT_EQ(Tracks()[2].Param, kSwitch);
  EXPECT_EQ(form.fields[static_cast<int>(TimelineField::KeyValue)], "1") << "the new key is selected";
  EXPECT_EQ(UndoSteps(), 1u);
  EXPECT_TRUE(messages.empty());

  ClickTimelineButton(form, TimelineButton::AddTrack);  // there already
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), std::string(kMsgTrackThere) + LaneName(form, kSwitch));
  EXPECT_EQ(UndoSteps(), 1u);

  form.selectedParam = 3;
  scene.LiveParams[3].BaseVal = 300;  // beyond a byte: the key holds what the parameter can
  form.cursorMs = 9000;               // outside the entry: at its start
  ClickTimelineButton(form, TimelineButton::AddTrack);
  EXPECT_EQ(FindTrack(Tracks(), 3)->Keys, (std::vector<AutomationKey>{{0, 255, KeyCurve::Linear}}));

  form.selectedParam = -1;
  ClickTimelineButton(form, TimelineButton::AddTrack);
  EXPECT_EQ(messages.back(), kMsgTrackNeedsParam);
  form.selectedParam = 4;
  SelectEntry(form, -1);
  ClickTimelineButton(form, TimelineButton::AddTrack);
  EXPECT_EQ(messages.back(), kMsgTrackNeedsEntry);
  EXPECT_EQ(UndoSteps(), 2u);

  SelectEntry(form, 0);
  UndoOnce();
  UndoOnce();
  EXPECT_EQ(FindTrack(Tracks(), kSwitch), nullptr) << "both tracks undone";
  EXPECT_EQ(form.geometry.laneCount, 2);
}

TEST_F(Lanes, AClickAddsAKeyOnTheGridHoldingTheCurvesValueThere) {
  // Halfway between 0 at 0 ms and 200 at 1000 ms, 503 ms lands on 500 ms (10 ms grid).
  PressInLane(form, X(1503), LaneMiddleY(0), {});
  Release(form);
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{0, 500, 1000, 2000}));
  EXPECT_FLOAT_EQ(Keys(0)[1].Value, 100);
  EXPECT_EQ(form.keys.keys, (std::vector<KeyRef>{{kBgRed, 1}}));
  EXPECT_EQ(UndoSteps(), 1u);

  form.geometry.view.pxPerMs = 1;  // zoomed in to 1 ms a pixel; Alt: on the whole ms
  ScrollAxisTo(form.geometry, 1000);
  PressInLane(form, X(1503), LaneTopPx(form.geometry, 0) + 1, {false, false, true});
  Release(form);
  EXPECT_EQ(Keys(0)[2].TimeMs, 503u);
  EXPECT_EQ(Keys(0)[2].Value, 101) << "100.6 on the curve, a whole number for a byte";
  ShowWholeDemo(form.geometry);

  form.bpm = 60;  // beats: a click lands on a second
  PressInLane(form, X(4300), LaneMiddleY(1), {});
  Release(form);
  EXPECT_EQ(Times(Keys(1)), (std::vector<uint32_t>{500, 3000}));
  EXPECT_FLOAT_EQ(Keys(1)[1].Value, 2.5f) << "after the last key the last value";
  PressInLane(form, X(4990), LaneMiddleY(1), {});  // snapped to the beat after the end: at its last ms
  Release(form);
  EXPECT_EQ(Times(Keys(1)), (std::vector<uint32_t>{500, 3000, 3999}));
  PressInLane(form, X(500), LaneMiddleY(1), {});  // before the entry: no key, no selection
  Release(form);
  EXPECT_EQ(Keys(1).size(), 3u);
  EXPECT_TRUE(form.keys.keys.empty());
  EXPECT_EQ(UndoSteps(), 4u);
}

TEST_F(Lanes, DraggingAKeyMovesItsTimeOnlyOnTheGridWithinTheEntryAsOneStep) {
  const float value = Keys(0)[1].Value;
  DragKey(0, 1, 23);  // +230 ms, snapped to 10 ms
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{0, 1230, 2000}));
  EXPECT_EQ(Keys(0)[1].Value, value);
  EXPECT_EQ(UndoSteps(), 1u);

  DragKey(0, 1, 1, {});  // a shaky click: nothing
  DragKey(0, 1, 2, {});
  EXPECT_EQ(Keys(0)[1].TimeMs, 1230u);
  EXPECT_EQ(UndoSteps(), 1u);

  DragKey(0, 1, 100);  // past the key at 2 s: the tracks stay in time order, the selection follows
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{0, 2000, 2230}));
  EXPECT_EQ(form.keys.keys, (std::vector<KeyRef>{{kBgRed, 2}}));
  EXPECT_EQ(Keys(0)[2].Value, value);

  DragKey(0, 2, 300);  // not past the entry's last ms (3999 from its start)
  EXPECT_EQ(Keys(0)[2].TimeMs, 3999u);
  DragKey(0, 0, -300);  // not before its start
  EXPECT_EQ(Keys(0)[0].TimeMs, 0u);
  DragKey(0, 1, -57, {}, true);  // Alt: on the whole ms
  EXPECT_EQ(Keys(0)[1].TimeMs, 1430u);
  UndoOnce();
  EXPECT_EQ(Keys(0)[1].TimeMs, 2000u);
}

TEST_F(Lanes, DraggedKeysSnapToOtherKeysAndTheCursor) {
  form.cursorMs = 1773;  // demo time: 773 ms into the entry
  DragKey(0, 1, -21);    // 790 ms: within 6 px of the cursor
  EXPECT_EQ(Keys(0)[1].TimeMs, 773u);
  DragKey(1, 0, 48);  // the real key from 500 ms to 980: near the byte key at 773? no, at 1000? no
  EXPECT_EQ(Keys(1)[0].TimeMs, 980u);
  DragKey(1, 0, -18);  // 800: 27 ms from the byte key at 773, within reach
  EXPECT_EQ(Keys(1)[0].TimeMs, 773u);
}

TEST_F(Lanes, ABoxSelectsKeysOfEveryLaneAndTheyMoveAndScaleTogether) {
  // From before the first key to past 1 s over both lanes: 0 and 1000 of the byte track, 500 of the real.
  PressInLane(form, X(990), LaneTopPx(form.geometry, 0) + 1, {});
  DragTo(form, X(2010), LaneTopPx(form.geometry, 1) + kLaneHeightPx - 2);
  Release(form);
  EXPECT_EQ(form.keys.keys, (std::vector<KeyRef>{{kBgRed, 0}, {kBgRed, 1}, {kReal, 0}}));
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{0, 1000, 2000})) << "a box changes no key";
  EXPECT_EQ(UndoSteps(), 0u);

  DragKey(0, 1, 30);  // the group cannot go before the start: it moves right only
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{300, 1300, 2000}));
  EXPECT_EQ(Keys(1)[0].TimeMs, 800u);
  EXPECT_EQ(UndoSteps(), 1u);

  // Shift: times scale around the earliest selected key (300): 1300 to 2300 doubles every distance.
  DragKey(0, 1, 100, {true, false, false});
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{300, 2000, 2300}));
  EXPECT_EQ(Keys(1)[0].TimeMs, 1300u);
  EXPECT_EQ(form.keys.keys, (std::vector<KeyRef>{{kBgRed, 0}, {kBgRed, 2}, {kReal, 0}}));
  EXPECT_EQ(UndoSteps(), 2u);

  // Ctrl toggles one key out of the selection and does not drag.
  const auto [x, y] = KeySpot(1, 0);
  PressInLane(form, x, y, {false, true, false});
  DragTo(form, x + 40, y);
  Release(form);
  EXPECT_EQ(form.keys.keys, (std::vector<KeyRef>{{kBgRed, 0}, {kBgRed, 2}}));
  EXPECT_EQ(Keys(1)[0].TimeMs, 1300u);
}

TEST_F(Lanes, DeleteRemovesTheSelectedKeysAndATrackLeftEmpty) {
  EXPECT_FALSE(DeleteSelectedKeys(form)) << "nothing selected: the entry's Delete";
  PressInLane(form, X(990), LaneTopPx(form.geometry, 0) + 1, {});
  DragTo(form, X(2010), LaneTopPx(form.geometry, 1) + kLaneHeightPx - 2);
  Release(form);
  ASSERT_EQ(form.keys.keys.size(), 3u);
  EXPECT_TRUE(DeleteSelectedKeys(form));
  ASSERT_EQ(Tracks().size(), 1u) << "the real track had only the one key";
  EXPECT_EQ(Times(Keys(0)), (std::vector<uint32_t>{2000}));
  EXPECT_EQ(form.geometry.laneCount, 1);
  EXPECT_TRUE(form.keys.keys.empty());
  EXPECT_EQ(UndoSteps(), 1u);
  UndoOnce();
  EXPECT_EQ(Tracks().size(), 2u);
  EXPECT_EQ(KeyCount(Tracks()), 4u);
}

TEST_F(Lanes, TheKeyFieldSetsEverySelectedKeyWithinItsParametersRange) {
  const int field = static_cast<int>(TimelineField::KeyValue);
  EXPECT_EQ(form.fields[field], "");
  ASSERT_TRUE(SelectKeyAt(form, KeySpot(0, 1).first, KeySpot(0, 1).second));
  EXPECT_EQ(form.fields[field], "200");
  for (const char* bad : {"300", "1.5", "abc"}) {  // a byte takes whole numbers 0..255
    TypeTimelineText(form, TimelineField::KeyValue, bad);
    FinishTimelineText(form, TimelineField::KeyValue);
    EXPECT_EQ(form.fields[field], "200") << bad;
  }
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(Keys(0)[1].Value, 200);
  TypeTimelineText(form, TimelineField::KeyValue, "17");
  FinishTimelineText(form, TimelineField::KeyValue);
  EXPECT_EQ(Keys(0)[1].Value, 17);
  EXPECT_EQ(UndoSteps(), 1u);

  form.keys.keys = {{kBgRed, 0}, {kReal, 0}};  // values differ: the field is empty, a value sets both
  ShowTimelineFields(form);
  EXPECT_EQ(form.fields[field], "");
  TypeTimelineText(form, TimelineField::KeyValue, "9");
  FinishTimelineText(form, TimelineField::KeyValue);
  EXPECT_EQ(Keys(0)[0].Value, 9);
  EXPECT_EQ(Keys(1)[0].Value, 9);
  EXPECT_EQ(UndoSteps(), 2u);
}

TEST_F(Lanes, CurvesCycleFromTheFirstSelectedKeyOrArePicked) {
  EXPECT_FALSE(CycleKeyCurve(form));
  form.keys.keys = {{kBgRed, 0}, {kBgRed, 2}};  // linear and step
  EXPECT_TRUE(CycleKeyCurve(form));
  EXPECT_EQ(Keys(0)[0].Curve, KeyCurve::Smooth);
  EXPECT_EQ(Keys(0)[2].Curve, KeyCurve::Smooth);
  EXPECT_EQ(Keys(0)[1].Curve, KeyCurve::Linear) << "not selected";
  SetKeyCurve(form, KeyCurve::Ramp);
  EXPECT_EQ(Keys(0)[0].Curve, KeyCurve::Ramp);
  EXPECT_EQ(UndoSteps(), 2u);
}

TEST_F(Lanes, KeysStayOnTheirEntryWhenItMovesOrIsShortened) {
  const AutomationTracks before = Tracks();
  const int rowY = RowTopPx(form.geometry, 0) + 3;
  PressAt(form, X(3000), rowY, false);  // the bar moves 1 s later
  DragTo(form, X(4000), rowY);
  Release(form);
  EXPECT_EQ(sequence.SequenceEntries[0].StartTime, 2000u);
  EXPECT_EQ(Tracks(), before) << "local times";
  PressAt(form, X(5999), rowY, false);  // its end to 3.5 s: 1.5 s long, the key at 2 s is past it
  DragTo(form, X(3500), rowY);
  Release(form);
  EXPECT_EQ(sequence.SequenceEntries[0].EndTime, 3499u);
  EXPECT_EQ(Tracks(), before) << "keys past the end are kept";
}

TEST_F(Lanes, AnUndoOrAnotherEntryDropsTheKeySelection) {
  SelectKeyAt(form, KeySpot(0, 2).first, KeySpot(0, 2).second);
  ASSERT_EQ(form.keys.keys.size(), 1u);
  SelectEntry(form, 1);
  EXPECT_TRUE(form.keys.keys.empty());
  SelectEntry(form, 0);
  SelectKeyAt(form, KeySpot(0, 2).first, KeySpot(0, 2).second);
  sequence.SequenceEntries[0].Tracks[0].Keys.pop_back();  // a change from outside the timeline
  ShowLanes(form);
  EXPECT_TRUE(form.keys.keys.empty()) << "no key left to point at";
}

TEST_F(Lanes, ALaneFollowsASourceAndItsGainAndOffsetAreSetEachOneUndoStep) {
  const std::vector<ParamFollow>& follows = sequence.SequenceEntries[0].Follows;
  SetLaneFollow(form, 1, SoundSource::Low);
  EXPECT_EQ(follows, (ParamFollows{{kReal, SoundSource::Low, 1, 0}}));
  EXPECT_EQ(LaneName(form, kReal), std::string(ShortName(scene.LiveParams[kReal].Name)) + " ~ low");
  SetLaneFollow(form, 0, SoundSource::Onset);
  EXPECT_EQ(follows, (ParamFollows{{kBgRed, SoundSource::Onset, 1, 0}, {kReal, SoundSource::Low, 1, 0}}))
      << "in parameter order";
  EXPECT_EQ(UndoSteps(), 2u);
  SetLaneFollow(form, 0, SoundSource::Onset);
  EXPECT_EQ(UndoSteps(), 2u) << "no change, no step";

  const int gain = static_cast<int>(TimelineField::FollowGain), offset = static_cast<int>(TimelineField::FollowOffset);
  EXPECT_EQ(SelectedFollowParam(form), -1) << "no key selected: the fields edit nothing";
  form.keys.keys = {{kBgRed, 0}, {kReal, 0}};
  EXPECT_EQ(SelectedFollowParam(form), -1) << "keys of two lanes";
  ASSERT_TRUE(SelectKeyAt(form, KeySpot(1, 0).first, KeySpot(1, 0).second));
  form.keys.keys = {{kReal, 0}};
  ShowTimelineFields(form);
  EXPECT_EQ(SelectedFollowParam(form), kReal);
  EXPECT_EQ(form.fields[gain], "1");
  TypeTimelineText(form, TimelineField::FollowGain, "2.5");
  FinishTimelineText(form, TimelineField::FollowGain);
  TypeTimelineText(form, TimelineField::FollowOffset, "nan");
  FinishTimelineText(form, TimelineField::FollowOffset);
  EXPECT_EQ(form.fields[offset], "0") << "refused";
  TypeTimelineText(form, TimelineField::FollowOffset, "-0.5");
  FinishTimelineText(form, TimelineField::FollowOffset);
  EXPECT_EQ(follows.back(), (ParamFollow{kReal, SoundSource::Low, 2.5f, -0.5f}));
  EXPECT_EQ(UndoSteps(), 4u);

  SetLaneFollow(form, 1, SoundSource::High);
  EXPECT_EQ(follows.back(), (ParamFollow{kReal, SoundSource::High, 2.5f, -0.5f})) << "a new source keeps the numbers";
  SetLaneFollow(form, 1, std::nullopt);
  EXPECT_EQ(follows, (ParamFollows{{kBgRed, SoundSource::Onset, 1, 0}}));
  EXPECT_EQ(UndoSteps(), 6u);
  UndoOnce();
  UndoOnce();
  UndoOnce();
  EXPECT_EQ(follows.back(), (ParamFollow{kReal, SoundSource::Low, 2.5f, 0}));
  UndoOnce();
  UndoOnce();
  UndoOnce();
  EXPECT_TRUE(follows.empty());
}
