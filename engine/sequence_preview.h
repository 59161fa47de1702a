#pragma once
// Development mode's sequence preview: the output draws the whole sequence at the demo time exactly as
// normal play does, except that the live set stands in for every entry of one preset (the one picked
// in the tweak window's "set"), so the author sees the edited preset in its place in the demo.
#include <cstdint>

#include "draw/demo_frame.h"

struct SequencePreview {
  bool on = false;
  int livePreset = -1;  // the preset the live set stands in for; -1 (or one not loaded): none
};

// DrawDemoFrame in normal play's way with the stand-in. The live set and the presets are as they were
// afterwards.
void DrawSequencePreview(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                         int livePreset, uint32_t formWidthPx, uint32_t formHeightPx, uint32_t& fxTimeMs,
                         const LayerErrorSink& layerError);
