#pragma once
// The Recording device: implements Direct3D 8 without drawing anything and writes every call with its
// arguments into a shared list, so tests can check call order and values without OpenGL. Objects are
// named in the list by kind and creation number: "device", "vb1", "tex2", "tex2.level0", "backbuffer",
// "sprite1". Integers are written in decimal, floats with %g, colours in hex (0xAARRGGBB).
// Vertex buffers and textures keep their bytes, so a test can Lock them and read what was written.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gpu/d3d8.h"

// Capabilities that pass every check of the start-up.
D3DCAPS8 CompleteRecordingCaps();

struct RecordingOptions {
  std::vector<D3DDISPLAYMODE> desktopModes{{1024, 768, 60, D3DFMT_X8R8G8B8}};  // one entry per adapter
  D3DCAPS8 caps = CompleteRecordingCaps();  // what GetDeviceCaps reports
  bool failGetDeviceCaps = false;
  std::map<std::string, int> failingCalls;  // operation name → 1-based call number that fails; 0 = every call
};

struct Recording {
  RecordingOptions options;
  std::vector<std::string> calls;     // "Operation(arguments)" and, for creations, " -> name"
  std::map<std::string, int> counts;  // calls made so far per operation name

  // Counts one call of operation and tells whether the options want it to fail.
  bool CallFails(const std::string& operation);
  // The calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

// A Direct3D object whose devices record into recording.
IDirect3D8* CreateRecordingDirect3D8(std::shared_ptr<Recording> recording);
