#pragma once
// The scene state the playback loop owns, and its per-layer evaluation into a frame parameter block.
#include <cstdint>
#include <memory>
#include <vector>

#include "scene/automation.h"
#include "scene/frame_block.h"
#include "scene/param_table.h"
#include "scene/sound_envelopes.h"

struct SceneState {
  TScene1ParamIArray LiveParams = InitParamTable();  // the set that is evaluated (and edited in development mode)
  std::vector<TScene1ParamIArray> ScenePresets;      // loaded presets, index = N of data/sceneN.txt
  uint8_t PresetCount = 0;                           // 0..255
  // The soundtrack's envelopes that followed parameters follow; none (or empty ones) count as 0. Shared
  // and never changed once made, so a thumbnail worker may hold them while a reload puts new ones here.
  std::shared_ptr<const SoundEnvelopes> Envelopes;
};

// Evaluates one layer at effect time fxTimeMs (0..2147483647). In normal play the preset presetNumber
// (preset 0 when it is not loaded; the live set untouched when none is loaded) is first copied into
// LiveParams; in development mode LiveParams is evaluated as it stands. A parameter with a track in
// tracks is evaluated with its base value from the track at tracks.localMs (LiveParams keeps its own);
// a parameter with a follow in tracks with that value (the track's or the base) followed through
// scene.Envelopes at tracks.demoMs (FollowedValue).
// Raises RangeError like the evaluators do. Allocates nothing.
TFrameParamBlock UpdateSceneParams(SceneState& scene, uint8_t presetNumber, uint32_t startTimeMs, uint32_t endTimeMs,
                                   uint32_t fxTimeMs, bool developmentMode, const TracksAt& tracks = {});

// Entry `index` (0..76) of a set evaluated at fxTimeMs with the type of its place, as UpdateSceneParams
// evaluates it (raising RangeError as it does).
double EvaluateParam(const TScene1ParamInterface& param, int index, uint32_t fxTimeMs);

// Field access by parameter index, for printing and inspecting a block: the value entry `index` (0..76)
// stored, and whether that field is a float.
double BlockFieldValue(const TFrameParamBlock& block, int index);
bool BlockFieldIsFloat(int index);
