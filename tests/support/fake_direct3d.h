#pragma once
// A Direct3D object that only answers the launcher's enumeration questions from fixed lists.
#include <cstring>
#include <string>
#include <vector>

#include "gpu/d3d8.h"

struct FakeAdapter {
  std::string description;
  std::vector<D3DDISPLAYMODE> modes;
};

class FakeDirect3D final : public IDirect3D8 {
 public:
  explicit FakeDirect3D(std::vector<FakeAdapter> adapters) : adapters_(std::move(adapters)) {}
  ~FakeDirect3D() override = default;

  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  UINT GetAdapterCount() override { return static_cast<UINT>(adapters_.size()); }
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* identifier) override {
    if (adapter >= adapters_.size()) return D3DERR_INVALIDCALL;
    *identifier = {};
    const std::string& text = adapters_[adapter].description;
    std::memcpy(identifier->Description, text.data(), std::min(text.size(), sizeof identifier->Description));
    return D3D_OK;
  }
  UINT GetAdapterModeCount(UINT adapter) override {
    modeCountAdapters.push_back(adapter);
    return adapter < adapters_.size() ? static_cast<UINT>(adapters_[adapter].modes.size()) : 0;
  }
  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* displayMode) override {
    if (adapter >= adapters_.size() || mode >= adapters_[adapter].modes.size()) return D3DERR_INVALIDCALL;
    *displayMode = adapters_[adapter].modes[mode];
    return D3D_OK;
  }
  HRESULT GetAdapterDisplayMode(UINT, D3DDISPLAYMODE*) override { return D3DERR_NOTAVAILABLE; }
  HRESULT CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*, IDirect3DDevice8**) override {
    return D3DERR_NOTAVAILABLE;
  }

  std::vector<UINT> modeCountAdapters;  // the adapter of every GetAdapterModeCount call, in order

 private:
  std::vector<FakeAdapter> adapters_;
};
