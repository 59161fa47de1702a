#pragma once
// The OpenGL implementation of Direct3D 8 (fixed-function OpenGL 2.1 compatibility through Mesa).
// Created with a WindowHost as focus window, a device presents into that window (drawing into the
// window's own back buffer when it can, see gl_device.h); with none it renders offscreen into a
// framebuffer object on a surfaceless EGL context, and Present only finishes the frame.
// ReadBackBuffer (device_extras.h) reads the pixels in both cases.
#include <vector>

#include "gpu/d3d8.h"
#include "gpu/rgba_image.h"

// One adapter per screen; each screen's desktop mode is what GetAdapterDisplayMode reports.
IDirect3D8* CreateGLDirect3D8(const std::vector<D3DDISPLAYMODE>& desktopModes);

// One screen with a 1024 × 768 X8R8G8B8 desktop. sdkVersion must be D3D_SDK_VERSION, else nullptr.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);

// The back buffer of a device of ours as RGBA, row 0 at the top; false for a device that draws nothing.
bool ReadBackBuffer(IDirect3DDevice8* device, RgbaImage& image);
