#pragma once
// The window an OpenGL device presents into, implemented by the application around its GL window.
// The device draws straight into the window's back buffer when the window has the back buffer's size
// and can hold its format (a depth buffer included), else into its own back buffer, which on Present it
// scales into the window (aspect kept, black borders); then it swaps. The host must outlive the device
// and every object created on it.
#include <cstdint>

class WindowHost {
 public:
  virtual void MakeCurrent() = 0;  // the window's GL context becomes current (cheap when it already is)
  virtual void SwapBuffers() = 0;
  virtual void SizePx(uint32_t& widthPx, uint32_t& heightPx) = 0;  // drawable size now
  virtual void HideCursor() = 0;                                   // no mouse pointer over the window
  // How often the toolkit has painted the window with its GL context (an expose) since it was made: the
  // device sets its GL state anew after a paint.
  virtual uint64_t PaintCount() = 0;

 protected:
  ~WindowHost() = default;
};
