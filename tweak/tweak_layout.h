#pragma once
// Where the tweak window's controls go, without a window toolkit: one fixed table, since the window keeps
// its size. Positions are window pixels. A group box's controls sit at the box's corner plus their own
// offset (Inside), so a group moves as one; a caption is placed by its top left corner and takes the
// size of its text.

// The window's client size: the original's, with two groups more (automation, controllers) above
// "outta here" and one line more for notices.
inline constexpr int kTweakWindowWidthPx = 286, kTweakWindowHeightPx = 671;

struct TweakRectPx {
  int xPx = 0, yPx = 0, widthPx = 0, heightPx = 0;
};

struct TweakPointPx {
  int xPx = 0, yPx = 0;
};

constexpr TweakRectPx Inside(const TweakRectPx& group, int xPx, int yPx, int widthPx, int heightPx) {
  return {group.xPx + xPx, group.yPx + yPx, widthPx, heightPx};
}

constexpr TweakPointPx Inside(const TweakRectPx& group, int xPx, int yPx) { return {group.xPx + xPx, group.yPx + yPx}; }

struct TweakLayout {
  // The logo at the top left, the info box beside it.
  TweakRectPx logo{0, 4, 101, 77};
  TweakRectPx infoGroup{108, 0, 173, 81};
  TweakRectPx info = Inside(infoGroup, 8, 16, 157, 62);

  // The parameter list and, in a column beside it, the buttons that move through it.
  TweakRectPx paramList{4, 88, 245, 147};
  TweakRectPx firstParam{256, 92, 25, 33}, lastParam{256, 128, 25, 29}, prevParamPage{256, 168, 25, 29},
      nextParamPage{256, 200, 25, 29};

  // "tweaking": the selected parameter. The caption "osc formular:" runs wider than the original's face,
  // so the list starts a little further right.
  TweakRectPx tweakingGroup{4, 236, 277, 93};
  TweakPointPx oscFormularCaption = Inside(tweakingGroup, 8, 20);
  TweakRectPx oscFormular = Inside(tweakingGroup, 80, 16, 185, 21);
  TweakPointPx osc1Caption = Inside(tweakingGroup, 8, 44);
  TweakRectPx osc1 = Inside(tweakingGroup, 72, 40, 61, 21);
  TweakPointPx osc2Caption = Inside(tweakingGroup, 8, 68);
  TweakRectPx osc2 = Inside(tweakingGroup, 72, 64, 61, 21);
  TweakPointPx baseValCaption = Inside(tweakingGroup, 172, 48);
  TweakRectPx baseVal = Inside(tweakingGroup, 204, 44, 61, 21);
  TweakRectPx baseValUp = Inside(tweakingGroup, 164, 68, 49, 17);
  TweakRectPx baseValDown = Inside(tweakingGroup, 216, 68, 49, 17);

  // "randomize", row by row: the group switches and the chance in percent beside its bar; the group
  // switches, "rand" and "var".
  TweakRectPx randomizeGroup{4, 332, 277, 57};
  TweakRectPx randFog = Inside(randomizeGroup, 12, 16, 37, 17), randBlend = Inside(randomizeGroup, 52, 16, 45, 17),
              randR2T = Inside(randomizeGroup, 104, 16, 45, 17), randCamera = Inside(randomizeGroup, 144, 16, 41, 17),
              possibility = Inside(randomizeGroup, 192, 16, 49, 13);
  TweakPointPx possibilityValue = Inside(randomizeGroup, 244, 16);
  TweakRectPx randOsc = Inside(randomizeGroup, 12, 32, 37, 17), randSprite = Inside(randomizeGroup, 52, 32, 45, 17),
              randPointsprites = Inside(randomizeGroup, 104, 32, 41, 17),
              randObject = Inside(randomizeGroup, 144, 32, 41, 17), rand = Inside(randomizeGroup, 192, 32, 41, 17),
              var = Inside(randomizeGroup, 236, 32, 29, 17);

  // "running timing": the time bar and the jump.
  TweakRectPx timingGroup{4, 392, 277, 45};
  TweakRectPx timeScale = Inside(timingGroup, 12, 20, 149, 13);
  TweakRectPx timeReset = Inside(timingGroup, 164, 16, 101, 17);

  // "file operations".
  TweakRectPx fileGroup{4, 440, 277, 89};
  TweakPointPx fileCaption = Inside(fileGroup, 10, 20);
  TweakRectPx presetPath = Inside(fileGroup, 32, 16, 169, 21), presetFile = Inside(fileGroup, 204, 16, 61, 21);
  TweakPointPx setCaption = Inside(fileGroup, 8, 44);
  TweakRectPx presetList = Inside(fileGroup, 32, 40, 89, 21), refreshAfterSave = Inside(fileGroup, 128, 44, 137, 13);
  TweakRectPx load = Inside(fileGroup, 32, 64, 56, 17), save = Inside(fileGroup, 90, 64, 44, 17),
              saveAsNew = Inside(fileGroup, 136, 64, 61, 17), search = Inside(fileGroup, 200, 64, 65, 17);

  // "automation": recording keys into the selected sequence entry, and the morph towards a preset: the
  // "rec" switch, the preset the morph goes to and its slider.
  TweakRectPx automationGroup{4, 536, 277, 45};
  TweakRectPx rec = Inside(automationGroup, 12, 18, 37, 17);
  TweakPointPx morphCaption = Inside(automationGroup, 56, 20);
  TweakRectPx morphPreset = Inside(automationGroup, 96, 16, 73, 21);
  TweakRectPx morph = Inside(automationGroup, 176, 20, 89, 13);

  // "controllers": MIDI learn and the mappings.
  TweakRectPx controllersGroup{4, 584, 277, 45};
  TweakRectPx learn = Inside(controllersGroup, 12, 16, 53, 17), mappings = Inside(controllersGroup, 68, 16, 97, 17),
              learnButton = Inside(controllersGroup, 168, 16, 97, 17);

  // "outta here", and the notice line under it to the window's bottom.
  TweakRectPx outtaHere{4, 632, 277, 21};
  TweakRectPx notice{4, 655, 277, kTweakWindowHeightPx - 655};
};

inline constexpr TweakLayout kTweakLayout{};
