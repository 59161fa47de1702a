#include <clocale>

#include <gtest/gtest.h>

#include "tests/tweak/tweak_fixture.h"

namespace {

using ParamEditing = TweakFixture;

TEST_F(ParamEditing, SetUpFillsTheControlsInOrder) {
  Start(3);
  const TweakControls& c = form.controls;
  EXPECT_TRUE(c.visible);
  EXPECT_EQ(c.caption, "[ tweak control ] v0.95b");
  ASSERT_EQ(c.ParamList.items.size(), 77u);
  EXPECT_EQ(c.ParamList.items[0], "000 byte:BG_r");
  EXPECT_EQ(c.ParamList.items[5], "005 sing:_TweakY");
  EXPECT_EQ(c.ParamList.items[76], "076 byte:PointSpriteWaveTweakMode");
  EXPECT_EQ(c.ParamList.selected, -1);
  ASSERT_EQ(c.OscFormular.items.size(), 7u);
  EXPECT_EQ(c.OscFormular.items[5], "5: (sin(time*x)*y/2)+y/2");
  EXPECT_EQ(c.OscFormular.selected, 0);
  EXPECT_EQ(c.info, "textures[0..8], \nscene1presets[0..2], \nscene1presetsSeqs[0..3] \nTotalLength: 60000ms");
  EXPECT_EQ(c.PresetList.items, (std::vector<std::string>{"scene0", "scene1", "scene2"}));
  EXPECT_EQ(c.PresetList.selected, 0);
  EXPECT_EQ(c.ScenePresetFile.text, "scene0.txt");  // the file the live set came from
  EXPECT_EQ(c.TimeScale.maximum, 60000);
  EXPECT_EQ(c.TimeResetCaption, "reset: 0ms");
  // Editing waits for a selection.
  EXPECT_FALSE(c.BaseVal.enabled || c.Osc1.enabled || c.Osc2.enabled || c.OscFormular.enabled);
  EXPECT_FALSE(c.BaseValUpEnabled || c.BaseValDownEnabled);
  EXPECT_EQ(c.BaseVal.text, "no value");
  // The path is the data folder, absolute, ending in "/".
  EXPECT_EQ(c.ScenePresetPath.text, (dir / "data") + "/");
  EXPECT_TRUE(messages.empty());
}

TEST_F(ParamEditing, SetUpCopiesPresetZero) {
  Start(2);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 0);  // preset 0 has BG_r = 0, the defaults 157
}

TEST_F(ParamEditing, SetUpWithoutPresetsLeavesTheLiveSet) {
  Start(0);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 157);
  EXPECT_TRUE(form.controls.PresetList.items.empty());
  EXPECT_EQ(form.controls.PresetList.selected, -1);
  EXPECT_NE(form.controls.info.find("scene1presets[0..-1], "), std::string::npos);
  EXPECT_EQ(form.controls.TimeScale.maximum, 60000);
}

TEST_F(ParamEditing, OutsideDevelopmentModeNothingIsSetUp) {
  Start(2, false);
  EXPECT_FALSE(form.controls.visible);
  EXPECT_EQ(form.controls.caption, "kx-4");
  EXPECT_TRUE(form.controls.ParamList.items.empty());
  EXPECT_EQ(form.controls.TimeScale.maximum, 99);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 157);
}

TEST_F(ParamEditing, NavigationButtonsMoveByPagesWithinTheList) {
  Start();
  const auto selectedAfter = [&](TweakButton button) {
    ClickButton(form, button);
    return form.controls.ParamList.selected;
  };
  EXPECT_EQ(selectedAfter(TweakButton::NextParamPage), 10);  // from no selection
  form.controls.ParamList.selected = -1;
  EXPECT_EQ(selectedAfter(TweakButton::PrevParamPage), 0);
  EXPECT_EQ(selectedAfter(TweakButton::LastParam), 76);
  EXPECT_EQ(selectedAfter(TweakButton::FirstParam), 0);
  Select(70);
  EXPECT_EQ(selectedAfter(TweakButton::NextParamPage), 76);
  Select(5);
  EXPECT_EQ(selectedAfter(TweakButton::PrevParamPage), 0);
  Select(30);
  EXPECT_EQ(selectedAfter(TweakButton::PrevParamPage), 19);
  EXPECT_EQ(selectedAfter(TweakButton::NextParamPage), 30);
  EXPECT_TRUE(form.controls.BaseVal.enabled);  // every move shows the parameter
  EXPECT_EQ(form.controls.BaseVal.text, FormatBaseValue(Live(30).Name, Live(30).BaseVal));
}

TEST_F(ParamEditing, ShowingAParameterShowsEnoughDigitsToChangeNothing) {
  Start();
  Live(kWordRingObjects).BaseVal = 1200;
  Select(kWordRingObjects);
  EXPECT_EQ(form.controls.BaseVal.text, "1200");
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, 1200);

  Live(kSingTweakY).BaseVal = 123.456f;
  Select(kSingTweakY);
  EXPECT_EQ(form.controls.BaseVal.text, "123.4560");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, 123.456f);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ParamEditing, OscillatorFieldsFollowTheForm) {
  Start();
  Live(kSingTweakX) = SetParam("sing:_TweakX", 3, 1, 0.001f, 2);
  Live(kSingTweakY) = SetParam("sing:_TweakY", 0, 1, 0.5f, 7);  // static, with leftover values
  Select(kSingTweakX);
  EXPECT_EQ(form.controls.Osc1.text, "0.0010");
  EXPECT_EQ(form.controls.Osc2.text, "2.0000");
  EXPECT_TRUE(form.controls.Osc1.enabled);
  EXPECT_EQ(form.controls.OscFormular.selected, 3);

  Select(kSingTweakY);
  EXPECT_EQ(form.controls.Osc1.text, "0");
  EXPECT_EQ(form.controls.Osc2.text, "0");
  EXPECT_FALSE(form.controls.Osc1.enabled || form.controls.Osc2.enabled);
  EXPECT_EQ(form.controls.OscFormular.selected, 0);
  EXPECT_EQ(Live(kSingTweakY).Osc1, 0);  // the fields changed to "0": their handlers stored 0
  EXPECT_EQ(Live(kSingTweakY).Osc2, 0);

  Live(kSingTweakX).Osc1 = 0.5f;  // fields already read "0": nothing is stored for the next static one
  Live(kSingTweakX).OscForm = 0;
  Select(kSingTweakX);
  EXPECT_EQ(Live(kSingTweakX).Osc1, 0.5f);

  // Choosing a moving form takes the shown texts; form 0 disables the fields and keeps the values.
  SelectItem(form, TweakList::OscFormular, 2);
  EXPECT_EQ(Live(kSingTweakX).OscForm, 2);
  EXPECT_EQ(Live(kSingTweakX).Osc1, 0);
  EXPECT_TRUE(form.controls.Osc1.enabled);
  TypeAndFinish(TweakField::Osc1, "0.002");
  TypeAndFinish(TweakField::Osc2, "-3e1");
  EXPECT_EQ(Live(kSingTweakX).Osc1, 0.002f);
  EXPECT_EQ(Live(kSingTweakX).Osc2, -30.0f);
  SelectItem(form, TweakList::OscFormular, 0);
  EXPECT_EQ(Live(kSingTweakX).OscForm, 0);
  EXPECT_FALSE(form.controls.Osc1.enabled);
  EXPECT_EQ(Live(kSingTweakX).Osc2, -30.0f);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ParamEditing, BaseValueIsCheckedByType) {
  Start();
  Select(kByteBG_r);
  TypeAndFinish(TweakField::BaseVal, "300");
  EXPECT_EQ(TakeMessages(), "value clipped [ > 255 ]");
  EXPECT_EQ(form.controls.BaseVal.text, "255");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 255);

  Select(kWordRingObjects);
  TypeAndFinish(TweakField::BaseVal, "70000");
  EXPECT_EQ(TakeMessages(), "value clipped [ > 65535 ]");
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, 65535);

  Select(kBoolClearTarget);
  TypeAndFinish(TweakField::BaseVal, "2");
  EXPECT_EQ(TakeMessages(), "invalid value [ must be 0 or 1 ]");
  EXPECT_EQ(form.controls.BaseVal.text, "0");
  EXPECT_EQ(Live(kBoolClearTarget).BaseVal, 0);
  TypeAndFinish(TweakField::BaseVal, "1");
  EXPECT_EQ(Live(kBoolClearTarget).BaseVal, 1);

  Select(kSingTweakY);
  TypeAndFinish(TweakField::BaseVal, "-12.25");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, -12.25f);
  EXPECT_EQ(TakeMessages(), "");
}

TEST_F(ParamEditing, RefusedValuesLeaveTheStoredOneWithOneMessage) {
  Start();
  Select(kByteBG_r);
  const float before = Live(kByteBG_r).BaseVal;
  PasteAndFinish(TweakField::BaseVal, "-5");
  EXPECT_EQ(TakeMessages(), "'-5' is out of range: the value must not be negative");
  PasteAndFinish(TweakField::BaseVal, "1.5");  // a byte takes whole numbers only
  EXPECT_EQ(TakeMessages(), "'1.5' is not a valid whole number");
  PasteAndFinish(TweakField::BaseVal, "99999999999");
  EXPECT_EQ(TakeMessages(), "'99999999999' is not a valid whole number");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, before);

  EXPECT_EQ(form.controls.BaseVal.text, FormatBaseValue(Live(kByteBG_r).Name, before)) << "the field shows it";

  // Typed key by key: the prefixes a field takes are stored on the way ("1e3", "12"), and the rejected
  // end puts back the value from before the field was entered.
  Select(kSingTweakY);
  const float singBefore = Live(kSingTweakY).BaseVal;
  TypeAndFinish(TweakField::BaseVal, "1e39");
  EXPECT_EQ(TakeMessages(), "'1e39' is too large for a 32-bit float");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, singBefore);
  EXPECT_EQ(form.controls.BaseVal.text, FormatBaseValue(Live(kSingTweakY).Name, singBefore));
  Select(kByteBG_r);
  TypeAndFinish(TweakField::BaseVal, "12.5");
  EXPECT_EQ(TakeMessages(), "'12.5' is not a valid whole number");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, before);
  for (TweakField oscillator : {TweakField::Osc1, TweakField::Osc2}) {
    const TScene1ParamInterface record = Live(kSingTweakY);
    Select(kSingTweakY);
    TypeAndFinish(oscillator, "1e39");
    EXPECT_EQ(TakeMessages(), "'1e39' is too large for a 32-bit float");
    EXPECT_TRUE(SameParam(Live(kSingTweakY), record));
  }
  // Emptied and left: nothing stored, the field shows the value again.
  TypeAndFinish(TweakField::BaseVal, "");
  EXPECT_EQ(form.controls.BaseVal.text, FormatBaseValue(Live(kSingTweakY).Name, singBefore));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ParamEditing, UnfinishedNumbersWaitForTheEndOfTyping) {
  Start();
  Select(kSingTweakY);
  const float before = Live(kSingTweakY).BaseVal;
  for (const char* partial : {"", "-", "1e", "1e-", "."}) {
    TypeText(form, TweakField::BaseVal, partial);
    EXPECT_EQ(Live(kSingTweakY).BaseVal, before) << partial;
  }
  EXPECT_TRUE(messages.empty());
  // Finished as "1e-": one conversion message, however often the field is finished again.
  TypeText(form, TweakField::BaseVal, "1e-");
  FinishText(form, TweakField::BaseVal);
  FinishText(form, TweakField::BaseVal);
  EXPECT_EQ(TakeMessages(), "'1e-' is not a valid number");
  TypeText(form, TweakField::BaseVal, "1e-2");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, 0.01f);
  FinishText(form, TweakField::BaseVal);
  EXPECT_TRUE(messages.empty());

  // An emptied field stores nothing, finished or not; so do the oscillator fields.
  TypeText(form, TweakField::BaseVal, "");
  FinishText(form, TweakField::BaseVal);
  TypeText(form, TweakField::Osc1, "-");
  EXPECT_TRUE(messages.empty());
  FinishText(form, TweakField::Osc1);
  EXPECT_EQ(TakeMessages(), "'-' is not a valid number");
}

TEST_F(ParamEditing, ShowingAnOutOfRangeStoredValueReportsIt) {
  Start();
  Live(kByteBG_r).BaseVal = 300;  // possible after loading a file
  Select(kByteBG_r);
  EXPECT_EQ(TakeMessages(), "value clipped [ > 255 ]");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 255);

  Live(kWordRingObjects).BaseVal = -3;
  Select(kWordRingObjects);
  EXPECT_EQ(TakeMessages(), "'-3' is out of range: the value must not be negative");
  EXPECT_EQ(Live(kWordRingObjects).BaseVal, -3);
}

TEST_F(ParamEditing, AddAndSubStepTheShownText) {
  Start();
  Select(kByteBG_r);
  TypeAndFinish(TweakField::BaseVal, "255");
  ClickButton(form, TweakButton::BaseValUp);
  EXPECT_EQ(TakeMessages(), "value clipped [ > 255 ]");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 255);
  TypeAndFinish(TweakField::BaseVal, "0");
  ClickButton(form, TweakButton::BaseValDown);
  EXPECT_EQ(form.controls.BaseVal.text, "0");
  ClickButton(form, TweakButton::BaseValUp);
  EXPECT_EQ(form.controls.BaseVal.text, "1");
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1);

  Select(kBoolClearTarget);
  TypeAndFinish(TweakField::BaseVal, "1");
  ClickButton(form, TweakButton::BaseValUp);
  EXPECT_EQ(TakeMessages(), "invalid value [ must be 0 or 1 ]");
  EXPECT_EQ(Live(kBoolClearTarget).BaseVal, 0);

  Select(kSingTweakY);
  TypeAndFinish(TweakField::BaseVal, "0");
  ClickButton(form, TweakButton::BaseValDown);
  EXPECT_EQ(form.controls.BaseVal.text, "-1.0000");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, -1);

  TypeText(form, TweakField::BaseVal, "abc");
  ClickButton(form, TweakButton::BaseValUp);
  EXPECT_EQ(TakeMessages(), "'abc' is not a valid number");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, -1);
}

TEST_F(ParamEditing, EscapeHidesTheWindowAndF10EndsTheProgram) {
  Start();
  PressKey(form, kKeyF10);
  EXPECT_EQ(shutdowns, 1);
  EXPECT_TRUE(form.controls.visible);
  PressKey(form, kKeyEscape);
  EXPECT_FALSE(form.controls.visible);
  EXPECT_EQ(shutdowns, 1);
  ClickButton(form, TweakButton::OuttaHere);
  EXPECT_EQ(shutdowns, 2);
}

}  // namespace

namespace {

// Under a comma setting the fields show "." as the files do, and take either separator.
TEST_F(ParamEditing, FieldsShowAPointAndTakeTheLocaleSeparatorToo) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "tools/setup.sh makes this locale";
  Start();
  Live(kSingTweakY).BaseVal = 123.456f;
  Select(kSingTweakY);
  EXPECT_EQ(form.controls.BaseVal.text, "123.4560");
  PasteAndFinish(TweakField::BaseVal, "0,25");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, 0.25f);
  PasteAndFinish(TweakField::BaseVal, "0.75");
  EXPECT_EQ(Live(kSingTweakY).BaseVal, 0.75f);
  EXPECT_EQ(TakeMessages(), "");
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
