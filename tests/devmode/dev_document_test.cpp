// Development mode's document without windows: unsaved work across the live set and the sequence, the
// question on quitting and its three answers, outside changes of files with and without unsaved edits,
// our own saves that are no outside change, the titles and the timeline's status line, and the keys
// shared by the windows.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>

#include "scene/preset_file.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"
#include "tweak/param_editing.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"
#include "devmode/dev_document.h"
#include "devmode/recovery_file.h"
#include "development_folder.h"
#include "tweak/preset_operations.h"

namespace {

TScene1ParamIArray Preset(float bgRed) {
  TScene1ParamIArray preset = InitParamTable();
  preset[0].BaseVal = bgRed;
  return preset;
}

class Document : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // the recovery file goes there
    ASSERT_NO_FATAL_FAILURE(WriteTwoPresets(dir));
    WriteFile(dir / "sceneseq.txt", SequenceText("60000"));
    LoadDevelopmentEngine(engine, dir, messages);
    engine.settings.music = false;
    engine.host.Terminate = [this] { ++ends; };
    ASSERT_EQ(engine.SequenceCount, 2);
    document.windows.Ask = [this](const std::string& question, const std::vector<std::string>& answers) {
      questions.push_back(question);
      EXPECT_TRUE(document.asking);
      const std::string answer = answersToGive.empty() ? answers.back() : answersToGive.front();
      if (!answersToGive.empty()) answersToGive.pop_front();
      return std::optional<size_t>(std::find(answers.begin(), answers.end(), answer) - answers.begin());
    };
    document.windows.WallClock = [] { return std::string("14:02:11"); };
    ConnectDocument(document);
    FillDocumentTweakHost(document, true);
    SetUpTweakForm(tweak);
    AttachTweak(document, tweak);
    FillDocumentTimelineHost(document);
    SetUpTimeline(timeline);
    AttachTimeline(document, timeline);
  }
  std::string SequenceText(const std::string& length) {
    return CrLf({"// seq", length, "ratio", "2.35", "mp3", dir / "song.mp3", "entries", "0", "0", "29999", "1", "0",
                 "0",      "0",    "0",     "~~~",  "1",   "30000",          "59999",   "1", "0", "0",     "0", "0",
                 "~~~"});
  }
  // A write from outside, with a modification time of its own.
  void WriteOutside(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++writes));
  }
  void Poll() { PollDocument(document, 0); }  // within the recovery file's first interval
  void EditLiveSet(int value) {
    SelectItem(tweak, TweakList::ParamList, 0);
    TypeText(tweak, TweakField::BaseVal, std::to_string(value));
    FinishText(tweak, TweakField::BaseVal);
  }
  void EditSequence(const std::string& length) {
    TypeTimelineText(timeline, TimelineField::Length, length);
    FinishTimelineText(timeline, TimelineField::Length);
  }

  TempDir dir;
  int writes = 0;
  DemoEngine engine;
  DevDocument document{engine};
  TweakForm tweak{document.tweakHost};
  TimelineForm timeline{document.timelineHost};
  std::vector<std::string> messages, questions;
  std::deque<std::string> answersToGive;
  int ends = 0;
};

// A layer error the frame reports lands in the notice line, and marks the tweak window's model for the
// next frame once for each new text, not in every frame.
TEST_F(Document, LayerErrorsOfTheFrameShowInTheNoticeLine) {
  ShowDocument(document);
  tweak.changed = false;
  document.engine.host.ShowNotice("preset 0: byte:BG_r: base value rounds to 300, outside the range 0..255");
  EXPECT_EQ(tweak.controls.notice, "preset 0: byte:BG_r: base value rounds to 300, outside the range 0..255");
  EXPECT_TRUE(tweak.changed);
  tweak.changed = false;
  document.engine.host.ShowNotice("preset 0: byte:BG_r: base value rounds to 300, outside the range 0..255");
  EXPECT_FALSE(tweak.changed) << "the same text: nothing to show again";
}

TEST_F(Document, UnsavedWorkIsTheLiveSetOrTheSequenceAndShowsInTitlesAndStatus) {
  ShowDocument(document);
  EXPECT_FALSE(WorkUnsaved(document));
  EXPECT_EQ(tweak.controls.caption, "[ tweak control ] v0.95b");
  EXPECT_EQ(timeline.title, "timeline");
  EXPECT_EQ(timeline.status, "");

  EditLiveSet(99);
  tweak.changed = false;
  ShowDocument(document);
  EXPECT_TRUE(tweak.changed) << "the tweak window's title changed";
  EXPECT_EQ(tweak.controls.caption, "[ tweak control ] v0.95b *");
  EXPECT_EQ(timeline.title, "timeline") << "the sequence is still as saved";
  tweak.changed = false;
  ShowDocument(document);
  EXPECT_FALSE(tweak.changed) << "no change, nothing to show again";

  EditSequence("50000");
  SelectEntry(timeline, 1);
  TypeTimelineText(timeline, TimelineField::Preset, "0");
  FinishTimelineText(timeline, TimelineField::Preset);
  ShowDocument(document);
  EXPECT_EQ(timeline.title, "timeline *");
  EXPECT_EQ(timeline.status, "2 unsaved changes");
  EXPECT_EQ(engine.sequence.DemoLength, 50000u);

  ClickTimelineButton(timeline, TimelineButton::Save);
  ShowDocument(document);
  EXPECT_EQ(timeline.title, "timeline");
  EXPECT_EQ(timeline.status, "sequence saved 14:02:11");
  EXPECT_TRUE(WorkUnsaved(document)) << "the live set is still unsaved";
  RunDevCommand(document, DevCommand::Undo);  // the preset number of entry 1
  ShowDocument(document);
  EXPECT_EQ(timeline.status, "1 unsaved change") << "an undo after the save is a change again";
}

TEST_F(Document, QuitWithoutUnsavedWorkEndsAtOnce) {
  RequestQuit(document);
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(ends, 1);
}

TEST_F(Document, QuitWithUnsavedWorkAsksOnceAndCancelKeepsEverything) {
  EditLiveSet(99);
  SelectEntry(timeline, 0);
  ClickTimelineButton(timeline, TimelineButton::Delete);
  answersToGive = {"cancel"};
  RequestQuit(document);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(
      questions[0],
      "Unsaved work: the live set (from scene0.txt) and the sequence (1 unsaved change).\nSave all before quitting?");
  EXPECT_EQ(ends, 0);
  EXPECT_TRUE(WorkUnsaved(document));
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  // F10 from any window asks the same way; closing the box (the last answer) is cancel.
  RunDevCommand(document, DevCommand::Quit);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(ends, 0);
}

TEST_F(Document, QuitDiscardEndsAndLeavesTheFilesAlone) {
  const std::string sequenceBefore = ReadFile(dir / "sceneseq.txt");
  const std::string presetBefore = ReadFile(dir / "scene0.txt");
  EditLiveSet(99);
  EditSequence("50000");
  answersToGive = {"discard"};
  RequestQuit(document);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(ReadFile(dir / "sceneseq.txt"), sequenceBefore);
  EXPECT_EQ(ReadFile(dir / "scene0.txt"), presetBefore);
}

TEST_F(Document, QuitSaveAllSavesBothAndEndsButAFailedSaveKeepsTheProgramRunning) {
  EditLiveSet(99);
  SelectEntry(timeline, 0);
  ClickTimelineButton(timeline, TimelineButton::Delete);
  ClickTimelineButton(timeline, TimelineButton::Delete);
  ASSERT_TRUE(engine.sequence.SequenceEntries.empty());
  answersToGive = {"save all"};
  RequestQuit(document);
  EXPECT_EQ(ends, 0) << "a sequence with no entries is refused: the program stays";
  EXPECT_EQ(ReadFile(dir / "scene0.txt"), ScenePresetText(engine.scene.LiveParams)) << "the live set was saved";
  EXPECT_FALSE(LiveSetUnsaved(tweak));
  EXPECT_TRUE(SequenceUnsaved(document));
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().find(kMsgSaveNoEntries), std::string::npos) << messages.back();

  RunDevCommand(document, DevCommand::Undo);  // one entry back
  answersToGive = {"save all"};
  RequestQuit(document);
  EXPECT_EQ(ends, 1);
  SceneSequence read;
  EXPECT_EQ(LoadSceneSequence(dir / "sceneseq", read, {}), 1);
}

TEST_F(Document, AQuitRequestWhileAskingIsIgnored) {
  EditLiveSet(99);
  document.windows.Ask = [this](const std::string& question, const std::vector<std::string>& answers) {
    questions.push_back(question);
    RequestQuit(document);  // Escape again over the output while the box is open
    return std::optional<size_t>(answers.size() - 1);
  };
  RequestQuit(document);
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(ends, 0);
}

TEST_F(Document, AnOutsideSequenceChangeOverUnsavedEditsIsHeldAndOfferedOnceAndTheReloadIsOneUndoStep) {
  EditSequence("50000");
  WriteOutside(dir / "sceneseq.txt", SequenceText("40000"));
  answersToGive = {"keep mine"};
  Poll();
  Poll();
  EXPECT_EQ(engine.sequence.DemoLength, 50000u) << "the author's edit stays";
  ASSERT_EQ(questions.size(), 1u) << "one message";
  EXPECT_EQ(questions[0],
            "sceneseq.txt changed on disk while its edits here are unsaved.\n"
            "Reload it from disk? (Ctrl+Z then brings your version back)");
  ShowDocument(document);
  EXPECT_EQ(timeline.status, "sceneseq.txt changed on disk: kept your unsaved edits · 1 unsaved change");

  WriteOutside(dir / "sceneseq.txt", SequenceText("30000"));
  answersToGive = {"reload"};
  Poll();
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(engine.sequence.DemoLength, 30000u);
  EXPECT_FALSE(SequenceUnsaved(document)) << "what is on disk now";
  ShowDocument(document);
  EXPECT_EQ(timeline.status, "");
  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(engine.sequence.DemoLength, 50000u) << "Ctrl+Z gives the author's version back";
  EXPECT_TRUE(SequenceUnsaved(document));
}

TEST_F(Document, AnOutsideSequenceChangeWithoutUnsavedEditsReloadsAtOnce) {
  WriteOutside(dir / "sceneseq.txt", SequenceText("40000"));
  Poll();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(engine.sequence.DemoLength, 40000u);
  EXPECT_EQ(document.tweakHost.DemoLength, 40000u);
  EXPECT_FALSE(SequenceUnsaved(document));
}

TEST_F(Document, AnOutsideChangeOfThePickedPresetOverAnUnsavedLiveSetIsOfferedNotApplied) {
  EditLiveSet(99);
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(50)));
  answersToGive = {"keep mine"};
  Poll();
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  EXPECT_EQ(engine.scene.ScenePresets[0][0].BaseVal, 50) << "the loaded copy follows the file";
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].rfind("scene0.txt changed on disk while its edits here are unsaved.", 0), 0u) << questions[0];
  EXPECT_EQ(tweak.controls.notice, "scene0.txt changed on disk: kept your unsaved edits");

  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(60)));
  answersToGive = {"reload"};
  Poll();
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 60);
  EXPECT_FALSE(LiveSetUnsaved(tweak));
  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99) << "one undo step";

  // Without unsaved edits the file is taken as before, with the notice and no question.
  ClickButton(tweak, TweakButton::Save);
  questions.clear();
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(70)));
  Poll();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 70);
}

TEST_F(Document, ASaveIntoThePickedFileIsNoOutsideChangeAndOneCtrlZUndoesTheTypedValue) {
  SelectItem(tweak, TweakList::PresetList, 1);
  SelectItem(tweak, TweakList::ParamList, 0);
  const std::string typed = "99";
  for (size_t n = 0; n <= typed.size(); ++n) TypeText(tweak, TweakField::BaseVal, typed.substr(0, n));
  FinishText(tweak, TweakField::BaseVal);
  tweak.controls.ScenePresetFile.text = "scene1.txt";
  ClickButton(tweak, TweakButton::Save);
  Poll();
  EXPECT_EQ(tweak.controls.notice, "scene1.txt saved and preset list refreshed!")
      << "our own write is no outside change";
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11) << "one Ctrl+Z takes back the typed value";
  EXPECT_EQ(tweak.history.undo.size(), 1u) << "what is left is the pick of scene1";
}

TEST_F(Document, AnOutsideEditOfThePickedFileWithoutUnsavedEditsReplacesTheLiveSetWithANotice) {
  SelectItem(tweak, TweakList::PresetList, 1);
  SelectItem(tweak, TweakList::ParamList, 0);
  WriteOutside(dir / "scene1.txt", ScenePresetText(Preset(123)));
  Poll();
  EXPECT_TRUE(questions.empty()) << "nothing of the author's to lose: no question";
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 123);
  EXPECT_EQ(tweak.controls.notice, "scene1.txt changed on disk: reloaded, Ctrl+Z to undo");
  EXPECT_EQ(tweak.controls.BaseVal.text, "123");
  EXPECT_FALSE(LiveSetUnsaved(tweak)) << "the live set is what the file holds";
  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(Document, APresetFileSavedAsNewIsWatchedAndThePresetListAndInfoFollow) {
  ClickButton(tweak, TweakButton::SaveAsNew);
  EXPECT_EQ(engine.scene.PresetCount, 3);
  EXPECT_EQ(tweak.controls.PresetList.selected, 2);
  Poll();
  EXPECT_TRUE(questions.empty()) << "our own save is no outside change";
  WriteOutside(dir / "scene2.txt", ScenePresetText(Preset(42)));
  Poll();
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 42) << "an outside edit of the new file is read";
  // A file copied in from outside becomes one more preset in the list and the info.
  WriteOutside(dir / "scene3.txt", ScenePresetText(Preset(43)));
  Poll();
  EXPECT_EQ(engine.scene.PresetCount, 4);
  EXPECT_EQ(tweak.controls.PresetList.items.size(), 4u);
  EXPECT_NE(tweak.controls.info.find("scene1presets[0..3]"), std::string::npos) << tweak.controls.info;
}

TEST_F(Document, AHeldChangeIsOfferedOnlyOnceTheQuestionCanBeAsked) {
  EditSequence("50000");
  WriteOutside(dir / "sceneseq.txt", SequenceText("40000"));
  const auto ask = document.windows.Ask;
  document.windows.Ask = [](const std::string&, const std::vector<std::string>&) { return std::optional<size_t>(); };
  Poll();  // another box is open: not asked, not forgotten
  EXPECT_EQ(engine.sequence.DemoLength, 50000u);
  document.windows.Ask = ask;
  answersToGive = {"reload"};
  Poll();
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(engine.sequence.DemoLength, 40000u);
  // A quit that cannot ask does not end the program.
  EditLiveSet(99);
  document.windows.Ask = [](const std::string&, const std::vector<std::string>&) { return std::optional<size_t>(); };
  RequestQuit(document);
  EXPECT_EQ(ends, 0);
}

TEST_F(Document, AHeldPresetWhoseEditsAreGoneIsNotAskedAbout) {
  EditLiveSet(99);
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(50)));
  const auto ask = document.windows.Ask;
  document.windows.Ask = [](const std::string&, const std::vector<std::string>&) { return std::optional<size_t>(); };
  Poll();  // another box is open: held
  document.windows.Ask = ask;
  answersToGive = {"discard"};
  SelectItem(tweak, TweakList::PresetList, 1);  // the edits of scene0.txt's set are gone
  questions.clear();
  Poll();
  EXPECT_TRUE(questions.empty());
  SelectItem(tweak, TweakList::PresetList, 0);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 50) << "the file as changed on disk";
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(60)));
  Poll();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 60);
}

TEST_F(Document, APresetAndTheSequenceHeldTogetherAreEachOfferedOnce) {
  EditLiveSet(99);
  EditSequence("50000");
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(50)));
  WriteOutside(dir / "sceneseq.txt", SequenceText("40000"));
  answersToGive = {"keep mine", "keep mine"};
  Poll();
  Poll();
  Poll();
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0].rfind("scene0.txt", 0), 0u);
  EXPECT_EQ(questions[1].rfind("sceneseq.txt", 0), 0u);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  EXPECT_EQ(engine.sequence.DemoLength, 50000u);
}

// One edit in the timeline changes its model only; the document's next frame step brings the engine's
// count and the tweak window's info and time range up to date and marks the tweak window for showing.
TEST_F(Document, TimelineEditsReachTheEngineAndTheTweakWindowAtTheNextFrame) {
  ClickTimelineButton(timeline, TimelineButton::Add);
  EditSequence("90000");
  EXPECT_EQ(engine.sequence.SequenceEntries.size(), 3u);
  tweak.changed = false;
  ShowDocument(document);
  EXPECT_EQ(engine.SequenceCount, 3);
  EXPECT_NE(tweak.controls.info.find("90000"), std::string::npos) << tweak.controls.info;
  EXPECT_EQ(tweak.controls.TimeScale.maximum, 90000);
  EXPECT_TRUE(tweak.changed);
  EXPECT_EQ(timeline.status, "2 unsaved changes");

  tweak.changed = false;
  ShowDocument(document);
  EXPECT_FALSE(tweak.changed) << "nothing new: nothing to show again";
  RunDevCommand(document, DevCommand::Undo);
  ShowDocument(document);
  EXPECT_EQ(timeline.status, "1 unsaved change") << "counted again after the undo";
}

// The timeline reads no clock and no tweak window: each frame shows it the demo time, the preset
// picked in "set", where "add" puts the new entry, and the parameter selected, which "add track" takes.
TEST_F(Document, EachFrameShowsTheTimelineTheDemoTimeThePickedPresetAndTheSelectedParameter) {
  engine.clock.DemoTime = 12000;
  SelectItem(tweak, TweakList::PresetList, 1);
  SelectItem(tweak, TweakList::ParamList, 2);
  ShowDocument(document);
  EXPECT_EQ(timeline.cursorMs, 12000u);
  EXPECT_EQ(timeline.pickedPreset, 1);
  EXPECT_EQ(timeline.selectedParam, 2);
  ClickTimelineButton(timeline, TimelineButton::Add);
  ASSERT_EQ(engine.sequence.SequenceEntries.size(), 3u);
  EXPECT_EQ(engine.sequence.SequenceEntries[2].PresetNumber, 1);
  EXPECT_EQ(engine.sequence.SequenceEntries[2].StartTime, 12000u);
  ClickTimelineButton(timeline, TimelineButton::AddTrack);
  const AutomationTrack* track = FindTrack(engine.sequence.SequenceEntries[2].Tracks, 2);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->Keys, (std::vector<AutomationKey>{{0, engine.scene.LiveParams[2].BaseVal, KeyCurve::Linear}}));
}

// The windows hand on the keys they do not use; the document runs the shared ones, in the timeline's
// history too, and leaves the others.
TEST_F(Document, KeysHandedOnRunTheSharedCommands) {
  EditSequence("50000");
  EXPECT_FALSE(DevKey(document, 'z', false, false)) << "a plain z is no command";
  EXPECT_EQ(engine.sequence.DemoLength, 50000u);
  EXPECT_TRUE(DevKey(document, 'z', true, false));
  EXPECT_EQ(engine.sequence.DemoLength, 60000u) << "Ctrl+Z undid the timeline's edit";
  EXPECT_EQ(timeline.fields[int(TimelineField::Length)], "60000");
  EXPECT_TRUE(DevKey(document, 'y', true, false));
  EXPECT_EQ(engine.sequence.DemoLength, 50000u);
}

// A value typed into a timeline field and not finished yet is stored before quitting asks, so that it
// counts as unsaved work.
TEST_F(Document, QuitStoresTheTimelinesUnfinishedTextFirst) {
  TypeTimelineText(timeline, TimelineField::Length, "45000");
  EXPECT_EQ(engine.sequence.DemoLength, 60000u);
  RequestQuit(document);
  EXPECT_EQ(engine.sequence.DemoLength, 45000u);
  ASSERT_EQ(questions.size(), 1u) << "the typed value is unsaved work";
  EXPECT_EQ(ends, 0) << "cancelled";
}

// A pick over an unsaved live set asks; Ctrl+Z after it brings back the set with the file it came from,
// so that a save (or the quit question's "save all") writes that file, not the one picked since.
TEST_F(Document, UndoOfAPickPutsBackTheSourceAndASaveWritesThere) {
  EditLiveSet(99);
  answersToGive = {"discard"};
  SelectItem(tweak, TweakList::PresetList, 1);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "The live set has unsaved changes (from scene0.txt).\nSave them before it is replaced?");
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11);
  EXPECT_FALSE(LiveSetUnsaved(tweak));

  UndoChange(tweak);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  EXPECT_EQ(tweak.controls.ScenePresetFile.text, "scene0.txt") << "the file field";
  EXPECT_EQ(tweak.controls.PresetList.selected, 0) << "set";
  EXPECT_TRUE(LiveSetUnsaved(tweak)) << "the unsaved mark";
  answersToGive = {"save all"};
  RequestQuit(document);
  EXPECT_EQ(ends, 1);
  engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
  EXPECT_EQ(engine.scene.ScenePresets[0][0].BaseVal, 99) << "the edit went to its own file";
  EXPECT_EQ(engine.scene.ScenePresets[1][0].BaseVal, 11) << "scene1.txt is untouched";

  RedoChange(tweak);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11);
  EXPECT_EQ(tweak.controls.ScenePresetFile.text, "scene1.txt");
  EXPECT_EQ(tweak.controls.PresetList.selected, 1);
  EXPECT_FALSE(LiveSetUnsaved(tweak));
}

TEST_F(Document, APickOrALoadOverAnUnsavedLiveSetAsksAndCancelOrAFailedSaveKeepsIt) {
  EditLiveSet(99);
  answersToGive = {"cancel"};
  SelectItem(tweak, TweakList::PresetList, 1);
  EXPECT_EQ(tweak.controls.PresetList.selected, 0);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  tweak.controls.ScenePresetFile.text = "scene1.txt";
  answersToGive = {"cancel"};
  ClickButton(tweak, TweakButton::Load);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
  EXPECT_TRUE(LiveSetUnsaved(tweak));

  tweak.controls.ScenePresetFile.text = "scene0.txt";
  answersToGive = {"save"};
  SelectItem(tweak, TweakList::PresetList, 1);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 11) << "picked once the edit was saved";
  engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
  EXPECT_EQ(engine.scene.ScenePresets[0][0].BaseVal, 99);

  // A save that fails keeps the unsaved set where it is.
  EditLiveSet(42);
  tweak.controls.ScenePresetPath.text = dir / "missing/";
  answersToGive = {"save"};
  SelectItem(tweak, TweakList::PresetList, 0);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 42);
  EXPECT_EQ(tweak.controls.PresetList.selected, 1);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().rfind("Save Error: ", 0), 0u) << messages.back();
}

TEST_F(Document, APickLeavesNoParameterSelectedAndTheFieldsOffUntilOneIsSelected) {
  EditLiveSet(99);
  answersToGive = {"discard"};
  SelectItem(tweak, TweakList::PresetList, 1);
  EXPECT_EQ(tweak.controls.ParamList.selected, -1) << "no row stays highlighted";
  EXPECT_FALSE(tweak.controls.BaseVal.enabled);
  EXPECT_EQ(tweak.controls.BaseVal.text, "no value");
  SelectItem(tweak, TweakList::ParamList, 0);
  EXPECT_TRUE(tweak.controls.BaseVal.enabled);
  EXPECT_EQ(tweak.controls.BaseVal.text, "11");
  UndoChange(tweak);  // the pick
  EXPECT_EQ(tweak.controls.BaseVal.text, "99") << "the fields show what undo restored";
}

TEST_F(Document, TheQuestionAboutAChangedFileHasKeepMineForEnterAndEscape) {
  EditLiveSet(99);
  WriteOutside(dir / "scene0.txt", ScenePresetText(Preset(50)));
  std::vector<std::string> offered;
  document.windows.Ask = [&](const std::string&, const std::vector<std::string>& answers) {
    offered = answers;
    return std::optional<size_t>(0);
  };
  Poll();
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.front(), "keep mine") << "Enter";
  EXPECT_EQ(offered.back(), "keep mine") << "Escape and the close box";
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 99);
}

TEST_F(Document, TheRecoveryFileFollowsUnsavedWorkAtMostEvery10SecondsAndGoesWithIt) {
  Poll();  // nothing left by an earlier session
  ASSERT_EQ(document.recoveryPath.rfind(dir / "state/quarnel/", 0), 0u) << document.recoveryPath;
  EXPECT_FALSE(EntryExists(document.recoveryPath)) << "nothing unsaved, no file";
  const auto recovered = [&] {
    RecoveredWork work;
    EXPECT_EQ(ReadRecovery(document.recoveryPath, work), "");
    return work;
  };
  EditLiveSet(99);
  KeepRecovery(document, 1000, false);
  RecoveredWork work = recovered();
  ASSERT_TRUE(work.liveSet);
  EXPECT_EQ(work.liveSet->params[0].BaseVal, 99);
  EXPECT_EQ(work.liveSet->source.savedFile, DataFolderPath(dir.Path()) + "scene0.txt");
  EXPECT_FALSE(work.sequence) << "the sequence is as saved";

  EditLiveSet(98);
  KeepRecovery(document, 9000, false);
  EXPECT_EQ(recovered().liveSet->params[0].BaseVal, 99) << "not again within 10 s";
  KeepRecovery(document, 11000, false);
  EXPECT_EQ(recovered().liveSet->params[0].BaseVal, 98);
  EditSequence("50000");
  KeepRecovery(document, 11500, true);  // a signal: at once
  work = recovered();
  ASSERT_TRUE(work.sequence);
  EXPECT_EQ(work.sequence->sequence.DemoLength, 50000u);
  EXPECT_EQ(work.sequence->notes, timeline.notes);

  EXPECT_TRUE(SaveAll(document));
  KeepRecovery(document, 12000, false);
  EXPECT_FALSE(EntryExists(document.recoveryPath)) << "a clean save removes it";
  EditLiveSet(97);
  KeepRecovery(document, 30000, false);
  EXPECT_TRUE(EntryExists(document.recoveryPath));
  answersToGive = {"discard"};
  RequestQuit(document);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(EntryExists(document.recoveryPath)) << "discarding on quit removes it";
}

TEST_F(Document, AnEarlierSessionsRecoveryIsOfferedAndRestoredAsUnsavedWork) {
  const std::string folder = DataFolderPath(dir.Path());
  SequenceSnapshot sequence = TimelineSnapshot(timeline);
  sequence.sequence.DemoLength = 45000;
  const RecoveredWork work{folder, LiveSetState{Preset(77), {folder + "scene1.txt", folder, "scene1.txt", 1}},
                           sequence};
  ASSERT_EQ(WriteRecovery(document.recoveryPath, RecoveryText(work)), "");
  answersToGive = {"restore"};
  Poll();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0],
            "Unsaved work of an earlier session was kept: the live set (from scene1.txt) and the "
            "sequence.\nRestore it?");
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 77);
  EXPECT_EQ(tweak.controls.ScenePresetFile.text, "scene1.txt");
  EXPECT_EQ(tweak.controls.PresetList.selected, 1);
  EXPECT_TRUE(LiveSetUnsaved(tweak));
  EXPECT_EQ(engine.sequence.DemoLength, 45000u);
  EXPECT_TRUE(SequenceUnsaved(document));
  Poll();
  EXPECT_EQ(questions.size(), 1u) << "offered once";
  answersToGive = {"save all"};
  RequestQuit(document);
  engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
  EXPECT_EQ(engine.scene.ScenePresets[1][0].BaseVal, 77) << "saved into the file it came from";
  EXPECT_FALSE(EntryExists(document.recoveryPath));
}

TEST_F(Document, ARecoveryDiscardedOrUnreadableChangesNothing) {
  const std::string folder = DataFolderPath(dir.Path());
  ASSERT_EQ(WriteRecovery(document.recoveryPath, RecoveryText({folder, LiveSetState{Preset(77), {}}, std::nullopt})),
            "");
  RequestQuit(document);  // before the first poll offered it
  EXPECT_TRUE(EntryExists(document.recoveryPath)) << "a quit before the offer keeps it";
  answersToGive = {"discard"};
  Poll();
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 10);
  EXPECT_FALSE(EntryExists(document.recoveryPath));

  WriteFile(document.recoveryPath, "quarnel recovery 1\nlive 99999\nshort\n");
  document.recoveryOffered = false;
  Poll();
  EXPECT_EQ(questions.size(), 1u) << "nothing to offer";
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "The unsaved work of an earlier session could not be read: " + document.recoveryPath +
                             ": broken at byte 19");
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 10);
}

TEST_F(Document, F6AndF7PutTheLoopOnTheNearestBeatWhenABpmIsSet) {
  document.authoring = NewAuthoringSession(true, PlayOptions{});
  document.authoring->engine = &engine;
  timeline.bpm = 120;
  engine.clock.DemoTime = 7230;
  RunDevCommand(document, DevCommand::SetLoopIn);
  EXPECT_EQ(document.authoring->clock.loopInMs, std::optional<uint32_t>(7000));
  engine.clock.DemoTime = 9800;
  RunDevCommand(document, DevCommand::SetLoopOut);
  EXPECT_EQ(document.authoring->clock.loopOutMs, std::optional<uint32_t>(10000));
  timeline.bpm.reset();
  engine.clock.DemoTime = 7230;
  RunDevCommand(document, DevCommand::SetLoopIn);
  EXPECT_EQ(document.authoring->clock.loopInMs, std::optional<uint32_t>(7230)) << "without a bpm: where it is";
}

TEST(DevKeys, OneTableForTheThreeWindows) {
  constexpr int kF = kKeysymF1 - 1;
  EXPECT_EQ(DevCommandOfKey('z', true, false), DevCommand::Undo);
  EXPECT_EQ(DevCommandOfKey('z', true, true), DevCommand::Redo);
  EXPECT_EQ(DevCommandOfKey('y', true, false), DevCommand::Redo);
  EXPECT_EQ(DevCommandOfKey('z', false, false), std::nullopt) << "a plain z is typing";
  EXPECT_EQ(DevCommandOfKey(kF + 2, false, false), DevCommand::ShowWindows);
  EXPECT_EQ(DevCommandOfKey(kF + 5, false, false), DevCommand::TogglePause);
  EXPECT_EQ(DevCommandOfKey(kF + 6, false, false), DevCommand::SetLoopIn);
  EXPECT_EQ(DevCommandOfKey(kF + 7, false, false), DevCommand::SetLoopOut);
  EXPECT_EQ(DevCommandOfKey(kF + 8, false, false), DevCommand::ClearLoop);
  EXPECT_EQ(DevCommandOfKey(kF + 10, false, false), DevCommand::Quit);
  EXPECT_EQ(DevCommandOfKey(kF + 9, false, false), std::nullopt);
}

}  // namespace
