#include "devmode/sequence_preview.h"

#include <algorithm>

LiveSetStandIn::LiveSetStandIn(SceneState& scene, int livePreset) : scene_(scene), live_(scene.LiveParams) {
  const int loaded = std::min<int>(scene.PresetCount, static_cast<int>(scene.ScenePresets.size()));
  if (livePreset < 0 || livePreset >= loaded) return;
  preset_ = livePreset;
  saved_ = scene.ScenePresets[livePreset];
  scene.ScenePresets[livePreset] = live_;
}

LiveSetStandIn::~LiveSetStandIn() {
  if (preset_ >= 0) scene_.ScenePresets[preset_] = saved_;
  scene_.LiveParams = live_;
}
