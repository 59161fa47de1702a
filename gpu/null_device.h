#pragma once
// The null device: a Direct3D 8 backend that draws nothing. It creates every object the renderer asks
// for and keeps the bytes of vertex buffers and textures (a Lock reads back what was written), so the
// renderer's whole start-up and frames run without OpenGL or a display: `--check` loads a demo's
// textures through it, and the tests run the renderer on it. It also writes every call with its
// arguments into a shared log, so tests can check call order and values, and can make chosen calls fail.
// Objects are named in the log by kind and creation number: "device", "vb1", "tex2", "tex2.level0",
// "backbuffer", "sprite1". Integers are written in decimal, floats with %g, colours in hex (0xAARRGGBB).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gpu/d3d8.h"

// Capabilities that pass every check of the start-up.
D3DCAPS8 CompleteNullDeviceCaps();

struct NullDeviceOptions {
  std::vector<D3DDISPLAYMODE> desktopModes{{1024, 768, 60, D3DFMT_X8R8G8B8}};  // one entry per adapter
  D3DCAPS8 caps = CompleteNullDeviceCaps();                                    // what GetDeviceCaps reports
  bool failGetDeviceCaps = false;
  std::map<std::string, int> failingCalls;  // operation name → 1-based call number that fails; 0 = every call
};

struct NullDeviceLog {
  NullDeviceOptions options;
  std::vector<std::string> calls;     // "Operation(arguments)" and, for creations, " -> name"
  std::map<std::string, int> counts;  // calls made so far per operation name

  // Counts one call of operation and tells whether the options want it to fail.
  bool CallFails(const std::string& operation);
  // The calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

// A Direct3D object whose devices write their calls into log.
IDirect3D8* CreateNullDirect3D8(std::shared_ptr<NullDeviceLog> log);
