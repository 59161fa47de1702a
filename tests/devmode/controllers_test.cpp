// The document's MIDI controllers without a device: mapped control changes are edits of the live set
// (one undo step per run, the unsaved marker), learning from the tweak window, notes pressing buttons,
// and controllers.txt saved, read again when changed on disk, with its refused lines reported and kept.
#include <gtest/gtest.h>

#include "controller_document.h"
#include "tweak/controller_events.h"

namespace {

TEST_F(Controllers, MovesAreEditsOfTheLiveSetWithOneUndoStepPerRun) {
  WriteFile(file, "cc 1 21 base 0 0 255 at 0\ncc 1 22 base 1 0 255 at 0\n");
  Attach();
  ASSERT_EQ(tweak.controllers->mappings.size(), 2u);
  const float green = Base(1);
  // BG_r is 10 (a position of 0.04): moving up from 0 passes it and takes over.
  Feed({0xB0, 21, 4, 21, 64, 21, 127});
  EXPECT_EQ(Base(0), 255);
  EXPECT_TRUE(LiveSetUnsaved(tweak));
  Feed({0xB0, 22, 0, 22, 127});
  EXPECT_EQ(Base(1), 255);
  UndoChange(tweak);  // the second control's run
  EXPECT_EQ(Base(1), green);
  EXPECT_EQ(Base(0), 255);
  UndoChange(tweak);  // the first's, whole
  EXPECT_EQ(Base(0), 10);
  EXPECT_FALSE(LiveSetUnsaved(tweak));
  EXPECT_TRUE(messages.empty());
}

TEST_F(Controllers, LearnedFromTheTweakWindowAndRemovedFromItsMenu) {
  Attach();
  SetLearning(tweak, true);
  SelectItem(tweak, TweakList::ParamList, 0);
  TouchField(tweak, TweakField::BaseVal);
  EXPECT_EQ(tweak.controls.notice, "learn: move a control for base BG_r");
  Feed({0xB2, 21, 100});
  EXPECT_EQ(tweak.controls.notice, "CC 21 ch 3 mapped to base BG_r");
  EXPECT_EQ(FieldMark(tweak, TweakField::BaseVal), "CC 21 ch 3");
  EXPECT_EQ(FieldMark(tweak, TweakField::Osc1), "");
  EXPECT_EQ(Base(0), 10);  // learning moves nothing
  // The time slider, and a note for a preset pick.
  TouchTimeSlider(tweak);
  Feed({0xB0, 1, 0});
  const std::vector<std::string> buttons = ButtonTargetItems(tweak);
  const auto preset1 = std::find(buttons.begin(), buttons.end(), "preset 1");
  ASSERT_NE(preset1, buttons.end());
  ArmButton(tweak, static_cast<size_t>(preset1 - buttons.begin()));
  Feed({0x90, 48, 100});
  SetLearning(tweak, false);
  EXPECT_EQ(MappingItems(tweak),
            (std::vector<std::string>{"CC 21 ch 3: base BG_r", "CC 1: time slider", "note 48: preset 1"}));
  Feed({0xB0, 1, 0, 1, 64});
  EXPECT_EQ(tweak.controls.TimeScale.position, std::lround(64 / 127.0 * tweak.controls.TimeScale.maximum));
  Feed({0x90, 48, 1});
  EXPECT_EQ(tweak.controls.PresetList.selected, 1);
  EXPECT_EQ(Base(0), 11);
  RemoveMappingItem(tweak, 0);
  EXPECT_EQ(tweak.controls.notice, "mapping removed: CC 21 ch 3: base BG_r");
  EXPECT_EQ(FieldMark(tweak, TweakField::BaseVal), "");
  Feed({0xB2, 21, 0, 21, 127});
  EXPECT_EQ(Base(0), 11);
}

TEST_F(Controllers, TheMorphSliderIsLearnedAndAControlsRunIsOneGesture) {
  Attach();
  SelectItem(tweak, TweakList::MorphPreset, 1);  // BG_r 10 towards 11
  SetLearning(tweak, true);
  TouchMorphSlider(tweak);
  EXPECT_EQ(tweak.controls.notice, "learn: move a control for morph slider");
  Feed({0xB0, 7, 0});
  SetLearning(tweak, false);
  EXPECT_EQ(MorphSliderMark(tweak), "CC 7");
  EXPECT_EQ(TimeSliderMark(tweak), "");
  Feed({0xB0, 7, 0, 7, 32, 7, 127});
  EXPECT_EQ(Base(0), 11);
  EXPECT_EQ(tweak.controls.Morph.position, 100) << "the slider follows";
  EXPECT_EQ(MorphShare(tweak), 1);
  UndoChange(tweak);
  EXPECT_EQ(Base(0), 10) << "the run was one step";
  Feed({0xB0, 7, 100});
  EXPECT_EQ(Base(0), 10) << "soft takeover: the share is back at 0, the control far from it";
  PollDocument(document, 0);
  EXPECT_NE(ReadFile(file).find("cc 1 7 morph at 0.7874"), std::string::npos) << ReadFile(file);

  SelectItem(tweak, TweakList::MorphPreset, -1);
  Feed({0xB0, 7, 0, 7, 127});
  EXPECT_EQ(Base(0), 10) << "no preset to morph towards: the control does nothing";
  EXPECT_TRUE(messages.empty());
}

TEST_F(Controllers, FileSavedWithPositionsReloadedAndRefusedLinesKept) {
  Attach();
  EXPECT_FALSE(std::filesystem::exists(file));  // nothing to keep yet
  SetLearning(tweak, true);
  SelectItem(tweak, TweakList::ParamList, 0);
  TouchField(tweak, TweakField::BaseVal);
  Feed({0xB0, 21, 5});
  PollDocument(document, 0);
  EXPECT_NE(ReadFile(file).find("cc 1 21 base 0 0 255 at 0.03937"), std::string::npos) << ReadFile(file);
  // Changed on disk: the lines that read are used, the refused one is named with its file and line.
  WriteOutside("# mine\ncc 1 30 base 2 0 255 at 1\ncc 1 31 base 500 0 1\n");
  PollDocument(document, 100);
  ASSERT_EQ(tweak.controllers->mappings.size(), 1u);
  EXPECT_EQ(tweak.controllers->mappings[0].control.number, 30);
  EXPECT_EQ(tweak.controls.notice, file + ":3: parameter '500' is outside 0..76; the line stays but is not used");
  EXPECT_TRUE(messages.empty());
  // Positions move: saved again, not sooner than the interval, with the refused line as it was.
  Feed({0xB0, 30, 100});
  PollDocument(document, 1000);
  EXPECT_NE(ReadFile(file).find("at 1\n"), std::string::npos);
  PollDocument(document, 100 + kControllersSaveIntervalMs);
  const std::string saved = ReadFile(file);
  EXPECT_NE(saved.find("cc 1 30 base 2 0 255 at 0.7874"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\ncc 1 31 base 500 0 1\n"), std::string::npos) << saved;
  // Our own write is no change on disk: nothing is read back (the notice stays as the user left it).
  tweak.controls.notice.clear();
  PollDocument(document, 200 + 2 * kControllersSaveIntervalMs);
  EXPECT_EQ(tweak.controls.notice, "");
}

TEST_F(Controllers, QuittingSavesTheLastMovesAtOnce) {
  WriteFile(file, "cc 1 21 time at 0\n");
  Attach();
  Feed({0xB0, 21, 0});
  PollDocument(document, 0);  // saved
  Feed({0xB0, 21, 127});
  PollDocument(document, 1);  // within the interval: not yet
  RequestQuit(document);
  EXPECT_NE(ReadFile(file).find("cc 1 21 time at 1\n"), std::string::npos) << ReadFile(file);
}

TEST_F(Controllers, InstalledDemoKeepsMappingsWithoutWriting) {
  Attach();
  document.controllers.readOnly = true;
  SetLearning(tweak, true);
  SelectItem(tweak, TweakList::ParamList, 0);
  TouchField(tweak, TweakField::BaseVal);
  Feed({0xB0, 21, 5});
  PollDocument(document, 0);
  EXPECT_EQ(tweak.controllers->mappings.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
