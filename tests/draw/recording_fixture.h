#pragma once
// A render state on a null device (640 × 480 windowed), with FatalError texts collected.
#include <memory>
#include <string>
#include <vector>

#include "draw/device_setup.h"
#include "gpu/null_device.h"

struct RecordingFixture {
  std::shared_ptr<NullDeviceLog> recording = std::make_shared<NullDeviceLog>();
  RenderState state;
  std::vector<std::string> fatalErrors;

  explicit RecordingFixture(NullDeviceOptions options = {}) {
    recording->options = std::move(options);
    state.callbacks.fatalError = [this](const std::string& text) { fatalErrors.push_back(text); };
    state.d3d = CreateNullDirect3D8(recording);
    DeviceChoice choice;
    choice.windowed = true;
    EXPECT_EQ(CreateRenderDevice(state, choice), "");
  }
  ~RecordingFixture() { ReleaseRenderObjects(state); }

  size_t CallCount() const { return recording->calls.size(); }
};
