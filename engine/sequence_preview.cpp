#include "engine/sequence_preview.h"

#include <algorithm>

namespace {
// Puts the live set in place of one preset for the duration of a frame, and everything back after it
// (normal play's evaluation copies each entry's preset into the live set).
class StandIn {
 public:
  StandIn(SceneState& scene, int livePreset) : scene_(scene), live_(scene.LiveParams) {
    const int loaded = std::min<int>(scene.PresetCount, static_cast<int>(scene.ScenePresets.size()));
    if (livePreset < 0 || livePreset >= loaded) return;
    preset_ = livePreset;
    saved_ = scene.ScenePresets[livePreset];
    scene.ScenePresets[livePreset] = live_;
  }
  ~StandIn() {
    if (preset_ >= 0) scene_.ScenePresets[preset_] = saved_;
    scene_.LiveParams = live_;
  }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

 private:
  SceneState& scene_;
  const TScene1ParamIArray live_;
  TScene1ParamIArray saved_;
  int preset_ = -1;
};
}  // namespace

void DrawSequencePreview(RenderState& state, SceneState& scene, const SceneSequence& sequence, uint32_t demoTimeMs,
                         int livePreset, uint32_t formWidthPx, uint32_t formHeightPx, uint32_t& fxTimeMs,
                         const LayerErrorSink& layerError) {
  const StandIn standIn(scene, livePreset);
  DrawDemoFrame(state, scene, sequence, demoTimeMs, false, formWidthPx, formHeightPx, fxTimeMs, layerError);
}
