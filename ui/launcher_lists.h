#pragma once
// The launcher's choice lists (adapters, fullscreen modes, window sizes) and the device choice they
// describe. Sizes are pixels; list positions count from 0, and -1 means nothing is selected.
#include <cstdint>
#include <string>
#include <vector>

#include "draw/device_setup.h"

// Development mode: the first argument (after the program name), lower-cased, is "-d".
bool IsDevelopmentSwitch(const std::vector<std::string>& args);

struct FullscreenMode {
  uint32_t width = 0, height = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;  // D3DFMT_R5G6B5 or D3DFMT_X8R8G8B8
};

struct WindowedSize {
  uint32_t width = 0, height = 0;
};

// The entries of one drop-down list and the selected position.
struct ChoiceList {
  std::vector<std::string> texts;
  int selected = -1;
};

// The launcher's check boxes.
struct LauncherSwitches {
  bool music = true;   // "Music"
  bool loop = false;   // "Loop"
  bool stats = false;  // "Stats" (windowed output only)
};

struct LauncherLists {
  ChoiceList AdapterBox;  // adapter descriptions; the position is the adapter number
  bool adapterBoxEnabled = true;
  ChoiceList DisplayBox;  // "640x480, 32bit", one per FullscreenModes entry
  std::vector<FullscreenMode> FullscreenModes;
  ChoiceList DisplayBoxWindowed;  // "320x240", one per WindowedSizes entry
  std::vector<WindowedSize> WindowedSizes;
};

// Window creation: lists every adapter (entry 0 selected, the list disabled when it holds exactly one),
// runs FillDisplayModes and selects the largest window size.
void FillLauncherLists(IDirect3D8& d3d, uint32_t desktopWidthPx, LauncherLists& lists);

// Rebuilds DisplayBox/FullscreenModes from the selected adapter's modes: R5G6B5 and X8R8G8B8 modes
// 512..640 wide, one per height and format, the last 640x480 selected (else the first entry).
// The windowed sizes depend on the desktop only and are filled while their list is empty.
void FillDisplayModes(IDirect3D8& d3d, uint32_t desktopWidthPx, LauncherLists& lists);

// The device the selections describe, presenting into window. Fullscreen output needs a selected
// fullscreen mode; without one the choice falls back to windowed output.
DeviceChoice ChosenDevice(const LauncherLists& lists, bool windowedChecked, HWND window);
