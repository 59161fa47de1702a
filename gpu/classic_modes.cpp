#include "gpu/classic_modes.h"

const std::vector<D3DDISPLAYMODE>& ClassicDisplayModes() {
  static const std::vector<D3DDISPLAYMODE> modes = [] {
    const UINT sizes[][2] = {{320, 240},  {400, 300},  {512, 384},  {640, 400},   {640, 480},  {800, 600},
                             {1024, 768}, {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200}};
    const D3DFORMAT formats[] = {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8};
    const UINT ratesHz[] = {60, 72, 75, 85};
    std::vector<D3DDISPLAYMODE> list;
    for (const auto& size : sizes)
      for (D3DFORMAT format : formats)
        for (UINT rateHz : ratesHz) list.push_back({size[0], size[1], rateHz, format});
    return list;
  }();
  return modes;
}
