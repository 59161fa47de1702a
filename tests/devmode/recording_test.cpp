// Recording keys from the tweak window into the timeline's selected entry: typed values, add/sub, the
// morph and values from outside as keys at the entry's local time, one undo step per gesture in the one
// history, the window showing the entry's values at the cursor, and nothing at all while the switch is
// off or recording is not possible.
#include <gtest/gtest.h>

#include "devmode/devmode_messages.h"
#include "devmode/document_recording.h"
#include "devmode/recovery_file.h"
#include "scene/preset_file.h"
#include "scene/text_lines.h"
#include "support/temp_dir.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"
#include "support/sequence_entry.h"

namespace {

constexpr int kByteRed = 0;     // byte:BG_r
constexpr int kSingTweakX = 4;  // sing:_TweakX

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // the recovery file goes there
    engine.settings.dataDir = dir.Path();
    engine.settings.developmentMode = true;
    engine.host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    for (float red : {10.0f, 11.0f}) {
      engine.scene.ScenePresets.push_back(InitParamTable());
      engine.scene.ScenePresets.back()[kByteRed].BaseVal = red;
    }
    engine.scene.PresetCount = 2;
    engine.sequence.DemoLength = 60000;
    engine.sequence.SequenceEntries = {Entry(0, 0, 29999), Entry(1, 30000, 59999)};
    engine.SequenceCount = 2;
    FillDocumentTweakHost(document, true);
    SetUpTweakForm(tweak);  // the live set is preset 0, picked in "set"
    AttachTweak(document, tweak);
    FillDocumentTimelineHost(document);
    SetUpTimeline(timeline);
    AttachTimeline(document, timeline);
    SelectItem(tweak, TweakList::ParamList, kByteRed);
  }
  // "rec" on, the preview on, entry 1 selected, the cursor at demoMs.
  void ReadyToRecord(uint32_t demoMs) {
    SwitchRecording(tweak, true);
    SwitchPreview(timeline, true);
    SelectEntry(timeline, 1);
    At(demoMs);
  }
  // A frame at demoMs.
  void At(uint32_t demoMs) {
    engine.clock.DemoTime = demoMs;
    FollowRecording(document);
  }
  // Typed into the base field one keystroke a frame, stepMs apart, and finished.
  void Type(const std::string& text, uint32_t stepMs = 0) {
    for (size_t length = 1; length <= text.size(); ++length) {
      if (length > 1) At(engine.clock.DemoTime + stepMs);
      TypeText(tweak, TweakField::BaseVal, text.substr(0, length));
    }
    FinishText(tweak, TweakField::BaseVal);
  }
  const AutomationTracks& Tracks(int entry = 1) const { return engine.sequence.SequenceEntries[entry].Tracks; }
  void Undo() { RunDevCommand(document, DevCommand::Undo); }

  TempDir dir;
  DemoEngine engine;
  DevDocument document{engine};
  TweakForm tweak{document.tweakHost};
  TimelineForm timeline{document.timelineHost};
  std::vector<std::string> messages;
};

TEST_F(Recording, ATypedValueIsOneKeyAtTheLocalTimeAndOneUndoStepOfTheSequence) {
  ReadyToRecord(31000);
  EXPECT_EQ(tweak.controls.BaseVal.text, "11") << "the entry's preset, not the live set";
  const size_t steps = tweak.history.undo.size();
  Type("200", 100);
  ASSERT_EQ(Tracks().size(), 1u);
  EXPECT_EQ(Tracks()[0].Param, kByteRed);
  EXPECT_EQ(Tracks()[0].Keys, (std::vector<AutomationKey>{{1000, 200.0f, KeyCurve::Linear}}))
      << "every keystroke at the time the typing began";
  EXPECT_TRUE(Tracks(0).empty());
  EXPECT_EQ(engine.scene.ScenePresets[1][kByteRed].BaseVal, 11) << "the preset stays";
  EXPECT_EQ(tweak.heldLiveSet->params[kByteRed].BaseVal, 10) << "the live set stays";
  EXPECT_FALSE(LiveSetUnsaved(tweak));
  EXPECT_TRUE(SequenceUnsaved(document)) << "keys are sequence edits: the marker, the quit question, recovery";
  EXPECT_EQ(tweak.history.undo.size(), steps + 1);

  Undo();
  EXPECT_TRUE(Tracks().empty());
  EXPECT_FALSE(WorkUnsaved(document));
  RunDevCommand(document, DevCommand::Redo);
  EXPECT_EQ(Tracks()[0].Keys.size(), 1u);
}

TEST_F(Recording, TheRecoveryFileKeepsRecordedKeys) {
  OfferRecovery(document);  // none from an earlier session
  ReadyToRecord(31000);
  Type("200");
  KeepRecovery(document, 0, true);
  RecoveredWork work;
  ASSERT_EQ(ReadRecovery(document.recoveryPath, work), "");
  ASSERT_TRUE(work.sequence);
  EXPECT_EQ(work.sequence->sequence.SequenceEntries[1].Tracks, Tracks());
  EXPECT_FALSE(work.liveSet) << "the live set was not touched";
}

TEST_F(Recording, AddAndSubClicksAreKeysAtTheTimesTheyAreMadeEachItsOwnStep) {
  ReadyToRecord(30500);
  ClickButton(tweak, TweakButton::BaseValUp);
  At(32500);
  ClickButton(tweak, TweakButton::BaseValDown);
  ClickButton(tweak, TweakButton::BaseValDown);
  ASSERT_EQ(Tracks().size(), 1u);
  EXPECT_EQ(Tracks()[0].Keys,
            (std::vector<AutomationKey>{{500, 12.0f, KeyCurve::Linear}, {2500, 10.0f, KeyCurve::Linear}}));
  Undo();
  EXPECT_EQ(Tracks()[0].Keys.back().Value, 11.0f) << "the second click undone alone";
}

TEST_F(Recording, TheWindowShowsTheTrackedValuesAtTheCursorButLeavesAFieldBeingTypedIn) {
  engine.sequence.SequenceEntries[1].Tracks = {{kByteRed, {{0, 0.0f}, {1000, 100.0f}}}};
  ReadyToRecord(30250);
  EXPECT_EQ(engine.scene.LiveParams[kByteRed].BaseVal, 25);
  EXPECT_EQ(tweak.controls.BaseVal.text, "25");
  At(30750);
  EXPECT_EQ(tweak.controls.BaseVal.text, "75");
  TypeText(tweak, TweakField::BaseVal, "4");
  At(30900);
  EXPECT_EQ(tweak.controls.BaseVal.text, "4") << "the author's keystrokes stay";

  SwitchRecording(tweak, false);
  EXPECT_EQ(engine.scene.LiveParams[kByteRed].BaseVal, 10) << "the live set back in place";
  EXPECT_EQ(tweak.controls.BaseVal.text, "10");
}

TEST_F(Recording, AMorphGestureRecordsACrossfadeAsOneThinnedUndoStep) {
  engine.scene.ScenePresets[0][kByteRed].BaseVal = 111;
  engine.scene.ScenePresets[0][kSingTweakX].BaseVal = 10;
  engine.scene.ScenePresets[1][kSingTweakX].BaseVal = 0;
  SelectItem(tweak, TweakList::MorphPreset, 0);
  ReadyToRecord(30000);
  const size_t steps = tweak.history.undo.size();
  for (int step = 0; step <= 10; ++step) {
    At(30000 + 100 * step);
    MoveMorph(tweak, 10 * step);
  }
  EndMorph(tweak);
  EXPECT_EQ(tweak.controls.Morph.position, 0);
  ASSERT_EQ(Tracks().size(), 2u);
  const AutomationTrack& red = Tracks()[0];
  EXPECT_EQ(red.Keys, (std::vector<AutomationKey>{{100, 21.0f, KeyCurve::Linear}, {1000, 111.0f, KeyCurve::Linear}}));
  EXPECT_EQ(Tracks()[1].Keys.size(), 2u);
  EXPECT_FLOAT_EQ(TrackValue(Tracks()[1], 500), 5.0f);
  EXPECT_EQ(tweak.history.undo.size(), steps + 1);
  Undo();
  EXPECT_TRUE(Tracks().empty());
}

TEST_F(Recording, AMorphRunFromOutsideRecordsAsADragDoes) {
  engine.scene.ScenePresets[0][kByteRed].BaseVal = 111;
  SelectItem(tweak, TweakList::MorphPreset, 0);
  ReadyToRecord(30000);
  const size_t steps = tweak.history.undo.size();
  for (int step = 0; step <= 10; ++step) {
    At(30000 + 100 * step);
    ASSERT_EQ(SetMorphFromOutside(tweak, step / 10.0), "");
  }
  ASSERT_EQ(Tracks().size(), 1u);
  EXPECT_EQ(Tracks()[0].Keys,
            (std::vector<AutomationKey>{{100, 21.0f, KeyCurve::Linear}, {1000, 111.0f, KeyCurve::Linear}}));
  EXPECT_EQ(tweak.history.undo.size(), steps + 1);
  Undo();
  EXPECT_TRUE(Tracks().empty());
}

TEST_F(Recording, ControllerRunsAreOneStepAndOscillatorChangesAreNotKeys) {
  ReadyToRecord(30000);
  for (int step = 0; step < 5; ++step) {
    At(30000 + 100 * step);
    ASSERT_EQ(SetParamFromOutside(tweak, kSingTweakX, ParamPart::BaseVal, 1.0 + step), "");
  }
  ASSERT_EQ(Tracks().size(), 1u);
  EXPECT_EQ(Tracks()[0].Keys.size(), 2u) << "a straight line";
  EXPECT_FLOAT_EQ(TrackValue(Tracks()[0], 400), 5.0f);
  EXPECT_EQ(SetParamFromOutside(tweak, kSingTweakX, ParamPart::Osc2, 3.0), "");
  EXPECT_EQ(tweak.controls.notice, kNoticeRecBaseValuesOnly);
  EXPECT_NE(engine.scene.LiveParams[kSingTweakX].Osc2, 3.0f) << "the window shows what is drawn";
  Undo();
  EXPECT_TRUE(Tracks().empty()) << "the run was one step";
}

TEST_F(Recording, WithoutThePreviewOrAnEntryRecOnSaysWhyAndChangesNothing) {
  SwitchRecording(tweak, true);
  At(31000);
  EXPECT_EQ(tweak.controls.notice, kNoticeRecNoPreview);
  Type("99");
  EXPECT_EQ(tweak.controls.notice, kNoticeRecNoPreview);
  EXPECT_EQ(engine.scene.LiveParams[kByteRed].BaseVal, 10);
  EXPECT_EQ(tweak.controls.BaseVal.text, "10");
  SwitchPreview(timeline, true);
  At(31000);
  EXPECT_EQ(tweak.controls.notice, kNoticeRecNoEntry);
  ClickButton(tweak, TweakButton::BaseValUp);
  EXPECT_EQ(engine.scene.LiveParams[kByteRed].BaseVal, 10);
  SelectEntry(timeline, 0);
  At(31000);
  EXPECT_EQ(tweak.controls.notice, kNoticeRecOutsideEntry);
  EXPECT_TRUE(Tracks(0).empty());
  EXPECT_TRUE(Tracks(1).empty());
  EXPECT_FALSE(WorkUnsaved(document));
}

TEST_F(Recording, WithRecOffEditsGoToTheLiveSetAsBefore) {
  SwitchPreview(timeline, true);
  SelectEntry(timeline, 1);
  At(31000);
  EXPECT_EQ(tweak.controls.BaseVal.text, "10") << "the live set, not the entry";
  Type("99");
  EXPECT_EQ(engine.scene.LiveParams[kByteRed].BaseVal, 99);
  EXPECT_TRUE(Tracks().empty());
  EXPECT_TRUE(LiveSetUnsaved(tweak));
  EXPECT_FALSE(SequenceUnsaved(document));
}

TEST_F(Recording, FileOperationsAndUndoActOnTheLiveSetPutAside) {
  ReadyToRecord(31000);
  Type("200");
  tweak.controls.RefreshAfterSave = false;
  ClickButton(tweak, TweakButton::Save);
  EXPECT_FALSE(tweak.heldLiveSet);
  std::optional<TextLines> lines;
  ASSERT_EQ(TextLines::FromFile(dir / "scene0.txt", lines), "") << "saved in the live set's file";
  TScene1ParamIArray saved = InitParamTable();
  ReadScenePreset(*lines, saved);
  EXPECT_EQ(saved[kByteRed].BaseVal, 10) << "what was saved is the live set";
  At(31000);
  EXPECT_TRUE(tweak.heldLiveSet) << "the next frame records again";
  EXPECT_EQ(tweak.controls.BaseVal.text, "200");
}

}  // namespace
