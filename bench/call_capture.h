#pragma once
// A Direct3D 8 object that passes every call to a real one (our OpenGL device), measures the time spent
// inside the real device and sprite, and can record the device and sprite calls as replayable steps.
// Replay runs the steps on the same real device with no engine work: vertex buffers that the engine
// created and filled are created and filled again from the recorded bytes; textures, surfaces and the
// sprite are the real objects made during recording.
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "gpu/d3dx8.h"

using ReplayStep = std::function<void()>;

struct CallCapture {
  std::vector<ReplayStep>* recordInto = nullptr;       // nullptr: pass calls through without recording
  std::chrono::nanoseconds deviceTime{0};              // spent inside the real device and sprite
  std::vector<IDirect3DVertexBuffer8*> replayBuffers;  // by creation number, the buffers replay made
  std::vector<IUnknown*> keptForReplay;                // textures and surfaces recorded steps refer to
};

// Wraps real (taking it over); devices created on the result pass their calls to real's devices.
IDirect3D8* CreateCaptureDirect3D8(IDirect3D8* real, std::shared_ptr<CallCapture> capture);

// Releases the buffers replay made and the objects kept for it.
void ReleaseReplayObjects(CallCapture& capture);
