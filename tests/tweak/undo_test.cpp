// Undo and redo in the tweak window's model over every kind of change it makes to the live set.
#include <gtest/gtest.h>

#include "scene/shared_random.h"
#include "tests/tweak/tweak_fixture.h"
#include "authoring/undo_history.h"

namespace {

class Undo : public TweakFixture {
 protected:
  void SetUp() override {
    Start(3);
    SeedRandom(77);
  }
  TScene1ParamIArray Now() const { return scene.LiveParams; }
  void ExpectLive(const TScene1ParamIArray& expected, const char* what) {
    EXPECT_TRUE(SameParams(scene.LiveParams, expected)) << what;
  }
};

TEST_F(Undo, EveryKindOfChangeIsOneStepBackAndForth) {
  // Each change through the window, and the set after it.
  std::vector<TScene1ParamIArray> states{Now()};
  Select(kByteBG_r);
  states.push_back(Now());  // selecting changes nothing here: no step
  TypeAndFinish(TweakField::BaseVal, "123");
  states.push_back(Now());
  ClickButton(form, TweakButton::BaseValUp);
  states.push_back(Now());
  Select(kSingTweakY);
  SelectItem(form, TweakList::OscFormular, 2);
  states.push_back(Now());
  TypeAndFinish(TweakField::Osc1, "0.25");
  states.push_back(Now());
  TypeAndFinish(TweakField::Osc2, "-3.5");
  states.push_back(Now());
  ClickButton(form, TweakButton::Rand);
  states.push_back(Now());
  ClickButton(form, TweakButton::Var);
  states.push_back(Now());
  SelectItem(form, TweakList::PresetList, 2);
  states.push_back(Now());
  ASSERT_EQ(WriteScenePreset(dir / "mine.txt",
                             [] {
                               TScene1ParamIArray p = InitParamTable();
                               p[kWordRingObjects].BaseVal = 4321;
                               return p;
                             }()),
            "");
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "mine.txt";
  ClickButton(form, TweakButton::Load);
  states.push_back(Now());
  ASSERT_EQ(Live(kWordRingObjects).BaseVal, 4321);

  // The select above made no step: equal neighbours are one state.
  std::vector<TScene1ParamIArray> distinct;
  for (const auto& state : states)
    if (distinct.empty() || !SameParams(distinct.back(), state)) distinct.push_back(state);
  ASSERT_EQ(distinct.size(), states.size() - 1);
  ASSERT_EQ(form.history.undo.size(), distinct.size() - 1);

  for (size_t i = distinct.size() - 1; i-- > 0;) {
    UndoChange(form);
    ExpectLive(distinct[i], ("undo to state " + std::to_string(i)).c_str());
  }
  UndoChange(form);
  ExpectLive(distinct[0], "nothing more to undo");
  for (size_t i = 1; i < distinct.size(); ++i) {
    RedoChange(form);
    ExpectLive(distinct[i], ("redo to state " + std::to_string(i)).c_str());
  }
  RedoChange(form);
  ExpectLive(distinct.back(), "nothing more to redo");
}

TEST_F(Undo, KeystrokesInOneFieldAreOneStepAndTheFieldShowsTheRestoredValue) {
  Select(kWordRingObjects);
  const std::string shown = form.controls.BaseVal.text;
  const TScene1ParamIArray before = Now();
  TypeAndFinish(TweakField::BaseVal, "12345");
  TypeAndFinish(TweakField::BaseVal, "99");  // finished, then typed again: a second step
  EXPECT_EQ(form.history.undo.size(), 2u);
  UndoChange(form);
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, 12345);
  EXPECT_EQ(form.controls.BaseVal.text, "12345");
  UndoChange(form);
  ExpectLive(before, "both runs undone");
  EXPECT_EQ(form.controls.BaseVal.text, shown);
  RedoChange(form);
  EXPECT_EQ(form.controls.BaseVal.text, "12345");
}

TEST_F(Undo, UndoingARandomizationRestoresEveryValueExactly) {
  Select(kSingTweakX);
  const TScene1ParamIArray before = Now();
  MoveScrollBar(form, TweakScrollBar::Possibility, 99);
  ClickButton(form, TweakButton::Rand);
  ASSERT_FALSE(SameParams(Now(), before));
  const TScene1ParamIArray randomized = Now();
  UndoChange(form);
  ExpectLive(before, "bit for bit, though the fields round what they show");
  RedoChange(form);
  ExpectLive(randomized, "and back");
}

TEST_F(Undo, ANewChangeForgetsTheRedoStepsAndTheHistoryKeepsItsNewestSteps) {
  Select(kWordRingObjects);
  TypeAndFinish(TweakField::BaseVal, "10");
  form.history = {};
  for (int i = 0; i < 250; ++i) ClickButton(form, i % 2 ? TweakButton::BaseValDown : TweakButton::BaseValUp);
  EXPECT_EQ(form.history.undo.size(), 250u) << "at least 200 steps";
  for (int i = 0; i < 10; ++i) UndoChange(form);
  EXPECT_EQ(form.history.redo.size(), 10u);
  TypeAndFinish(TweakField::BaseVal, "7");
  EXPECT_TRUE(form.history.redo.empty());
  for (int i = 0; i < int(kUndoSteps) + 50; ++i) ClickButton(form, TweakButton::BaseValUp);
  EXPECT_EQ(form.history.undo.size(), kUndoSteps);
}

TEST_F(Undo, ATypingRunThatEndsWhereItBeganIsNoStep) {
  Select(kByteBG_r);
  TypeText(form, TweakField::BaseVal, "5");
  TypeText(form, TweakField::BaseVal, "");
  TypeText(form, TweakField::BaseVal, "0");
  FinishText(form, TweakField::BaseVal);
  EXPECT_TRUE(form.history.undo.empty());
}

TEST_F(Undo, AReloadedPickedPresetReplacesTheLiveSetAsAStep) {
  SelectItem(form, TweakList::PresetList, 1);
  scene.ScenePresets[2][kByteBG_r].BaseVal = 222;
  PresetFileReloaded(form, 2);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1) << "preset 2 is not the picked one";
  scene.ScenePresets[1][kByteBG_r].BaseVal = 111;
  Select(kByteBG_r);
  PresetFileReloaded(form, 1);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 111);
  EXPECT_EQ(form.controls.BaseVal.text, "111");
  UndoChange(form);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1);
}

// A negative whole number is legal data: reloaded, undone or redone while its parameter is selected, the
// field's refusal is reported as a message, the value stays, and nothing is thrown at the caller.
TEST_F(Undo, ANegativeWholeValueOfTheSelectedParameterIsReportedNotThrown) {
  SelectItem(form, TweakList::PresetList, 1);
  Select(kByteBG_r);
  scene.ScenePresets[1][kByteBG_r].BaseVal = -5;
  EXPECT_NO_THROW(PresetFileReloaded(form, 1));
  EXPECT_EQ(Live(kByteBG_r).BaseVal, -5);
  EXPECT_NE(TakeMessages().find("must not be negative"), std::string::npos);
  EXPECT_NO_THROW(UndoChange(form));
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1);
  EXPECT_NO_THROW(RedoChange(form));
  EXPECT_EQ(Live(kByteBG_r).BaseVal, -5);
  EXPECT_NE(TakeMessages().find("must not be negative"), std::string::npos);
}

TEST_F(Undo, LoadingANegativeWholeValueThenUndoAndRedoThrowNothing) {
  TScene1ParamIArray preset = InitParamTable();
  preset[kWordRingObjects].BaseVal = -40;
  ASSERT_EQ(WriteScenePreset(dir / "negative.txt", preset), "");
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "negative.txt";
  Select(kWordRingObjects);
  ClickButton(form, TweakButton::Load);
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, -40);
  TakeMessages();
  EXPECT_NO_THROW(UndoChange(form));
  EXPECT_NO_THROW(RedoChange(form));
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, -40);
  EXPECT_NE(TakeMessages().find("must not be negative"), std::string::npos);
}

// A byte above 255 read from the picked preset's file while it is selected is stored as 255, as a
// selection stores it; the rest of the set stays exactly as read (no rounding of what is not shown).
TEST_F(Undo, AReloadedByteAbove255OfTheSelectedParameterIsStoredClipped) {
  SelectItem(form, TweakList::PresetList, 1);
  Select(kByteBG_r);
  scene.ScenePresets[1][kByteBG_r].BaseVal = 300;
  scene.ScenePresets[1][kSingTweakY].BaseVal = 1.23456f;
  PresetFileReloaded(form, 1);
  EXPECT_EQ(TakeMessages(), kMsgByteClipped);
  EXPECT_EQ(form.controls.BaseVal.text, "255");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 255);
  EXPECT_EQ(Live(kSingTweakY).BaseVal, 1.23456f);
  UndoChange(form);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1);
}

// A reload that arrives while another action is recorded (the timer runs while that action's message
// box waits) belongs to that action's step: one Ctrl+Z takes back both, in order.
TEST_F(Undo, AReloadWhileAnActionsBoxIsOpenIsPartOfThatStep) {
  SelectItem(form, TweakList::PresetList, 1);
  const TScene1ParamIArray before = Now();
  const size_t steps = form.history.undo.size();
  host.ShowMessage = [this](const std::string&) {
    scene.ScenePresets[1][kByteBG_g].BaseVal = 77;
    PresetFileReloaded(form, 1);
  };
  TScene1ParamIArray preset = InitParamTable();
  preset[kWordRingObjects].BaseVal = 4321;
  ASSERT_EQ(WriteScenePreset(dir / "mine.txt", preset), "");
  form.controls.ScenePresetPath.text = dir / "";
  form.controls.ScenePresetFile.text = "mine.txt";
  ClickButton(form, TweakButton::Load);  // " loaded!" box, the reload inside it
  EXPECT_EQ(Live(kByteBG_g).BaseVal, 77);
  ASSERT_EQ(form.history.undo.size(), steps + 1);
  UndoChange(form);
  ExpectLive(before, "one step back is the set before the load");
}

TEST_F(Undo, AnOutsideChangeOfThePickedFileSaysSoInTheNoticeLine) {
  SelectItem(form, TweakList::PresetList, 2);
  PresetFileReloaded(form, 2);
  EXPECT_EQ(form.controls.notice, "") << "the same values: nothing changed";
  scene.ScenePresets[2][kByteBG_g].BaseVal = 12;
  PresetFileReloaded(form, 2);
  EXPECT_EQ(form.controls.notice, "scene2.txt changed on disk: reloaded, Ctrl+Z to undo");
  UndoChange(form);
  EXPECT_EQ(form.controls.notice, "") << "read and acted on";
}

TEST_F(Undo, TheLiveSetIsUnsavedExactlyWhileItDiffersFromItsFile) {
  EXPECT_FALSE(LiveSetUnsaved(form)) << "nothing changed since the start";
  Select(kByteBG_r);
  TypeAndFinish(TweakField::BaseVal, "42");
  EXPECT_TRUE(LiveSetUnsaved(form));
  UndoChange(form);
  EXPECT_FALSE(LiveSetUnsaved(form)) << "undone back to the file's values";
  RedoChange(form);
  EXPECT_TRUE(LiveSetUnsaved(form));
  ClickButton(form, TweakButton::Save);
  EXPECT_FALSE(LiveSetUnsaved(form)) << "saved";
  UndoChange(form);
  EXPECT_TRUE(LiveSetUnsaved(form)) << "the undone value was never saved";
}

}  // namespace

namespace {

// A preset whose every name is a text of about nameBytes, different for each tag.
TScene1ParamIArray LargePreset(int tag, size_t nameBytes) {
  TScene1ParamIArray preset = InitParamTable();
  for (int i = 0; i < kParamCount; ++i)
    preset[i].Name =
        ParamName(std::string(preset[i].Name.Text()) + std::string(nameBytes, 'a' + i % 26) + std::to_string(tag));
  return preset;
}

TEST_F(Undo, AReloadStoresWhatChangedAndTheHistoryStaysWithinItsBytes) {
  SelectItem(form, TweakList::PresetList, 1);
  scene.ScenePresets[1][kByteBG_g].BaseVal = 77;
  PresetFileReloaded(form, 1);
  ASSERT_FALSE(form.history.undo.empty());
  EXPECT_EQ(form.history.undo.back().params.size(), 1u) << "one record changed, one record kept";

  // 1000 reloads of a preset with 0.6 MB of names that change each time: 600 MB as whole copies.
  constexpr size_t kNameBytes = 8 << 10;
  for (int reload = 0; reload < 1000; ++reload) {
    scene.ScenePresets[1] = LargePreset(reload, kNameBytes);
    PresetFileReloaded(form, 1);
    ASSERT_LE(form.history.undoBytes, kUndoBytes);
  }
  EXPECT_LE(ParamNamePoolSize() * kNameBytes, kUndoBytes + 4 * kParamCount * kNameBytes) << "names held alive";
  EXPECT_GT(form.history.undo.size(), 10u) << "the newest reloads can still be undone";
  UndoChange(form);
  EXPECT_EQ(Live(kByteBG_r).Name, LargePreset(998, kNameBytes)[kByteBG_r].Name);
  EXPECT_TRUE(LiveSetUnsaved(form)) << "the file holds the newest reload";
}

}  // namespace

namespace {
TEST_F(Undo, ValuesFromOutsideAreOneStepPerRunAndRefusedWhenOutOfRange) {
  const TScene1ParamIArray start = Now();
  Select(kByteBG_r);
  EXPECT_EQ(SetParamFromOutside(form, kByteBG_r, ParamPart::BaseVal, 10.4), "");
  EXPECT_EQ(SetParamFromOutside(form, kByteBG_r, ParamPart::BaseVal, 200.6), "");
  EXPECT_EQ(scene.LiveParams[kByteBG_r].BaseVal, 201.0f);  // a byte is rounded
  EXPECT_EQ(form.controls.BaseVal.text, "201");            // the selected parameter's field follows
  const TScene1ParamIArray afterRun = Now();
  EXPECT_NE(SetParamFromOutside(form, kByteBG_r, ParamPart::BaseVal, 256), "");
  EXPECT_NE(SetParamFromOutside(form, kSingTweakY, ParamPart::OscForm, 7), "");
  EXPECT_NE(SetParamFromOutside(form, kSingTweakY, ParamPart::Osc1, INFINITY), "");
  EXPECT_NE(SetParamFromOutside(form, kParamCount, ParamPart::BaseVal, 1), "");
  ExpectLive(afterRun, "refused values change nothing");
  EXPECT_EQ(SetParamFromOutside(form, kSingTweakY, ParamPart::Osc2, -2.5), "");
  UndoChange(form);
  ExpectLive(afterRun, "the oscillator change is its own step");
  UndoChange(form);
  ExpectLive(start, "the run of base values is one step");
}
}  // namespace
