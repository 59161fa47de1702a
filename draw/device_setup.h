#pragma once
// Device creation from the launcher's choices, and the capability check.
#include <string>

#include "draw/render_state.h"

// The launcher's choices that the device is created from.
struct DeviceChoice {
  UINT adapter = 0;  // position in the adapter list
  bool windowed = false;
  UINT widthPx = 640, heightPx = 480;            // the selected mode or window size
  D3DFORMAT fullscreenFormat = D3DFMT_X8R8G8B8;  // format of the selected fullscreen mode
  HWND window = nullptr;                         // where frames are presented; nullptr = offscreen
};

// Creates state.device on state.d3d and sets BackBufferFormat, ViewWidth, ViewHeight and
// windowedOutput. Returns an error text, empty on success; kNoFatalErrorSinkText when
// state.callbacks.fatalError is empty.
[[nodiscard]] std::string CreateRenderDevice(RenderState& state, const DeviceChoice& choice);

// Reads the device's capabilities into state.caps and lists what the effects need but the device lacks
// (empty when all is there). A failed read goes to FatalError and returns an empty list.
[[nodiscard]] std::string CheckDeviceCaps(RenderState& state);
