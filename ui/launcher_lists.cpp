#include "ui/launcher_lists.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr uint32_t kMinModeWidthPx = 512, kMaxModeWidthPx = 640;

std::string ModeText(const FullscreenMode& mode) {
  return std::to_string(mode.width) + "x" + std::to_string(mode.height) +
         (mode.format == D3DFMT_R5G6B5 ? ", 16bit" : ", 32bit");
}

bool Acceptable(const D3DDISPLAYMODE& mode) {
  return (mode.Format == D3DFMT_R5G6B5 || mode.Format == D3DFMT_X8R8G8B8) && mode.Width >= kMinModeWidthPx &&
         mode.Width <= kMaxModeWidthPx;
}

bool SameHeightAndFormat(const std::vector<FullscreenMode>& accepted, const D3DDISPLAYMODE& mode) {
  return std::any_of(accepted.begin(), accepted.end(), [&](const FullscreenMode& entry) {
    return entry.height == mode.Height && entry.format == mode.Format;
  });
}

void FillWindowedSizes(uint32_t desktopWidthPx, LauncherLists& lists) {
  static const WindowedSize kSizes[] = {{320, 240}, {512, 384}, {640, 480}};
  const size_t count = desktopWidthPx >= 800 ? 3 : desktopWidthPx >= 640 ? 2 : 1;
  for (size_t i = 0; i < count; ++i) {
    lists.WindowedSizes.push_back(kSizes[i]);
    lists.DisplayBoxWindowed.texts.push_back(std::to_string(kSizes[i].width) + "x" + std::to_string(kSizes[i].height));
  }
}

}  // namespace

bool IsDevelopmentSwitch(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  std::string first = args[0];
  for (char& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return first == "-d";
}

void FillLauncherLists(IDirect3D8& d3d, uint32_t desktopWidthPx, LauncherLists& lists) {
  lists.AdapterBox = {};
  const UINT adapterCount = d3d.GetAdapterCount();
  for (UINT adapter = 0; adapter < adapterCount; ++adapter) {
    D3DADAPTER_IDENTIFIER8 identifier{};
    const bool known = SUCCEEDED(d3d.GetAdapterIdentifier(adapter, 0, &identifier));
    // The description need not be terminated within its field.
    lists.AdapterBox.texts.emplace_back(identifier.Description,
                                        known ? strnlen(identifier.Description, sizeof identifier.Description) : 0);
  }
  if (adapterCount > 0) lists.AdapterBox.selected = 0;
  lists.adapterBoxEnabled = adapterCount != 1;

  FillDisplayModes(d3d, desktopWidthPx, lists);
  lists.DisplayBoxWindowed.selected = static_cast<int>(lists.DisplayBoxWindowed.texts.size()) - 1;
}

void FillDisplayModes(IDirect3D8& d3d, uint32_t desktopWidthPx, LauncherLists& lists) {
  lists.DisplayBox = {};
  lists.FullscreenModes.clear();
  int defaultEntry = 0;
  if (lists.AdapterBox.selected >= 0) {
    const UINT adapter = static_cast<UINT>(lists.AdapterBox.selected);
    const UINT modeCount = d3d.GetAdapterModeCount(adapter);
    for (UINT index = 0; index < modeCount; ++index) {
      D3DDISPLAYMODE mode{};
      if (FAILED(d3d.EnumAdapterModes(adapter, index, &mode))) continue;
      if (SameHeightAndFormat(lists.FullscreenModes, mode) || !Acceptable(mode)) continue;
      const FullscreenMode accepted{mode.Width, mode.Height, mode.Format};
      if (accepted.width == 640 && accepted.height == 480)
        defaultEntry = static_cast<int>(lists.FullscreenModes.size());
      lists.FullscreenModes.push_back(accepted);
      lists.DisplayBox.texts.push_back(ModeText(accepted));
    }
  }
  if (!lists.FullscreenModes.empty()) lists.DisplayBox.selected = defaultEntry;

  if (lists.DisplayBoxWindowed.texts.empty()) FillWindowedSizes(desktopWidthPx, lists);
}

DeviceChoice ChosenDevice(const LauncherLists& lists, bool windowedChecked, HWND window) {
  DeviceChoice choice;
  choice.window = window;
  if (lists.AdapterBox.selected > 0) choice.adapter = static_cast<UINT>(lists.AdapterBox.selected);
  const int mode = lists.DisplayBox.selected;
  const bool haveMode = mode >= 0 && static_cast<size_t>(mode) < lists.FullscreenModes.size();
  choice.windowed = windowedChecked || !haveMode;
  if (haveMode) choice.fullscreenFormat = lists.FullscreenModes[mode].format;
  if (!choice.windowed) {
    choice.widthPx = lists.FullscreenModes[mode].width;
    choice.heightPx = lists.FullscreenModes[mode].height;
  } else {
    const int size = lists.DisplayBoxWindowed.selected;
    if (size >= 0 && static_cast<size_t>(size) < lists.WindowedSizes.size()) {
      choice.widthPx = lists.WindowedSizes[size].width;
      choice.heightPx = lists.WindowedSizes[size].height;
    }
  }
  return choice;
}
