// The morph slider of the tweak window: a drag blends the live set towards the picked preset from where
// the drag found it, is one undo step, and leaves the slider at 0 for the next drag.
#include "tweak_fixture.h"

namespace {

class MorphSlider : public TweakFixture {
 protected:
  void SetUp() override {
    Start(3);                                              // the live set is preset 0, BG_r 0; preset 2 has BG_r 2
    scene.ScenePresets[2][kSingTweakY].BaseVal = 11.584f;  // 10 above the live set's
  }
  void Drag(std::initializer_list<int> percents) {
    for (int percent : percents) MoveMorph(form, percent);
    EndMorph(form);
  }
};

TEST_F(MorphSlider, ADragBlendsTowardsThePickedPresetAsOneUndoStep) {
  SelectItem(form, TweakList::MorphPreset, 2);
  const size_t steps = form.history.undo.size();
  MoveMorph(form, 20);
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 3.584f);
  Drag({40, 50});
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 6.584f);
  EXPECT_EQ(Live(kByteBG_r).BaseVal, 1) << "0..2 at the middle: 1";
  EXPECT_EQ(form.controls.Morph.position, 0) << "let go: back at 0";
  EXPECT_EQ(form.history.undo.size(), steps + 1);
  EXPECT_TRUE(LiveSetUnsaved(form));

  Drag({100});  // from where the first drag left the set
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 11.584f);
  EXPECT_EQ(form.history.undo.size(), steps + 2);
  UndoChange(form);
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 6.584f);
  UndoChange(form);
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 1.584f);
}

TEST_F(MorphSlider, ADragBackToTheStartOrWithoutAPresetIsNoStep) {
  const size_t steps = form.history.undo.size();
  Drag({30, 60});
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 1.584f) << "no preset picked: nothing";
  SelectItem(form, TweakList::MorphPreset, 2);
  Drag({30, 60, 0});
  EXPECT_FLOAT_EQ(Live(kSingTweakY).BaseVal, 1.584f);
  EXPECT_EQ(form.history.undo.size(), steps);
  EXPECT_FALSE(LiveSetUnsaved(form));
}

}  // namespace
