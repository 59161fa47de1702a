#pragma once
// Development mode's sequence preview: the output draws the whole sequence at the demo time exactly as
// normal play does, except that the live set stands in for every entry of one preset (the one picked
// in the tweak window's "set"), so the author sees the edited preset in its place in the demo.
#include "scene/scene_update.h"

// While it lives, the live set stands in for preset livePreset (none when it is -1 or not loaded); at
// its end the presets and the live set are as they were (normal play's evaluation copies each entry's
// preset into the live set).
class LiveSetStandIn {
 public:
  LiveSetStandIn(SceneState& scene, int livePreset);
  ~LiveSetStandIn();
  LiveSetStandIn(const LiveSetStandIn&) = delete;
  LiveSetStandIn& operator=(const LiveSetStandIn&) = delete;

 private:
  SceneState& scene_;
  const TScene1ParamIArray live_;
  TScene1ParamIArray saved_;
  int preset_ = -1;
};
