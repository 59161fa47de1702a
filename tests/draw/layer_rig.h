#pragma once
// A renderer started on the null device as the program starts it (640 × 480, ratio 8: bars of 60,
// drawing area 640 × 360), with three 8 × 8 textures made in memory, and helpers to read the calls.
#include <string>
#include <vector>

#include "draw/demo_frame.h"
#include "draw/geometry.h"
#include "scene/scene_update.h"
#include "tests/draw/recording_fixture.h"

struct LayerRig : RecordingFixture {
  size_t mark = 0;

  LayerRig() {
    std::string error;
    BuildGeometry(state, 0, error, 1, 1, 1);
    D3DXCreateSprite(state.device, &state.sprite);
    for (int i = 0; i < 3; ++i) {
      IDirect3DTexture8* texture = nullptr;
      D3DXCreateTexture(state.device, 8, 8, 1, 0, D3DFMT_A1R5G5B5, D3DPOOL_DEFAULT, &texture);
      state.textures.push_back(texture);
    }
    state.TextureCount = 3;
    EXPECT_EQ(InitFrameStates(state, 8.0f), "");
    Mark();
  }

  void Mark() { mark = recording->calls.size(); }
  std::vector<std::string> Since() const {
    return {recording->calls.begin() + std::ptrdiff_t(mark), recording->calls.end()};
  }
  // The calls since the mark whose text starts with prefix.
  std::vector<std::string> Since(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : Since())
      if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    return found;
  }
  size_t Count(const std::string& call) const {
    size_t n = 0;
    for (const std::string& c : Since()) n += c == call;
    return n;
  }
};

// The default parameter set evaluated at effect time fxTimeMs, drawn in the window 0..100000.
inline TFrameParamBlock DefaultBlock(uint32_t fxTimeMs) {
  SceneState scene;
  return UpdateSceneParams(scene, 0, 0, 100000, fxTimeMs, false);
}
