// Device creation from the launcher's choices and the capability check, on the null device.
#include "draw/device_setup.h"

#include <gtest/gtest.h>

#include "recording_fixture.h"
#include "draw/draw_messages.h"
#include "draw/offscreen_demo.h"
#include "draw/textures.h"

namespace {

struct DeviceRig {
  std::shared_ptr<NullDeviceLog> recording = std::make_shared<NullDeviceLog>();
  RenderState state;
  std::vector<std::string> fatalErrors;
  DeviceRig() {
    state.callbacks.fatalError = [this](const std::string& text) { fatalErrors.push_back(text); };
  }
  ~DeviceRig() { ReleaseRenderObjects(state); }
  std::string Create(const DeviceChoice& choice) {
    state.d3d = CreateNullDirect3D8(recording);
    return CreateRenderDevice(state, choice);
  }
};

TEST(DeviceSetup, WindowedUsesTheDesktopFormatAndFullscreenTheModes) {
  DeviceRig windowed;
  windowed.recording->options.desktopModes = {{1024, 768, 60, D3DFMT_R5G6B5}};
  DeviceChoice choice{0, true, 512, 384, D3DFMT_X8R8G8B8, nullptr};
  EXPECT_EQ(windowed.Create(choice), "");
  EXPECT_EQ(windowed.state.BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(windowed.state.ViewWidth, 512);
  EXPECT_EQ(windowed.state.ViewHeight, 384);
  EXPECT_EQ(windowed.recording->CallsStartingWith("CreateDevice"),
            std::vector<std::string>{"CreateDevice(0, 1, 0x00000040, 512, 384, 23, 1, 1, 80) -> device"});

  DeviceRig fullscreen;
  fullscreen.recording->options.desktopModes = {{1024, 768, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8}};
  choice = {1, false, 640, 480, D3DFMT_R5G6B5, nullptr};
  EXPECT_EQ(fullscreen.Create(choice), "");
  EXPECT_EQ(fullscreen.state.BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(fullscreen.recording->CallsStartingWith("CreateDevice"),
            std::vector<std::string>{"CreateDevice(1, 1, 0x00000040, 640, 480, 23, 0, 1, 80) -> device"});
}

TEST(DeviceSetup, FallsBackToSoftwareVertexProcessingThenFails) {
  DeviceRig software;
  software.recording->options.failingCalls["CreateDevice"] = 1;
  EXPECT_EQ(software.Create({}), "");
  EXPECT_NE(software.state.device, nullptr);
  EXPECT_EQ(software.recording->CallsStartingWith("CreateDevice").back(),
            "CreateDevice(0, 1, 0x00000020, 640, 480, 22, 0, 1, 80) -> device");

  DeviceRig none;
  none.recording->options.failingCalls["CreateDevice"] = 0;
  EXPECT_EQ(none.Create({}), kDeviceInitFailedText);
  EXPECT_EQ(none.state.device, nullptr);

  DeviceRig noDesktop;
  noDesktop.recording->options.failingCalls["GetAdapterDisplayMode"] = 0;
  EXPECT_EQ(noDesktop.Create({}), kNoAdapterSettingsText);
  EXPECT_TRUE(noDesktop.recording->CallsStartingWith("CreateDevice").empty());
}

TEST(DeviceSetup, CapsCheckListsWhatIsMissingInOrder) {
  DeviceRig complete;
  complete.Create({});
  EXPECT_EQ(CheckDeviceCaps(complete.state), "");

  DeviceRig lacking;
  D3DCAPS8& caps = lacking.recording->options.caps;
  caps.SrcBlendCaps = 0x3FFF;  // one factor too many counts as missing
  caps.RasterCaps &= ~(D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE);
  caps.Caps2 = 0;
  caps.MaxTextureHeight = 512;
  lacking.Create({});
  EXPECT_EQ(CheckDeviceCaps(lacking.state), "[no big textures][not all dest/src blendings][no fogtable][no fogrange]")
      << "no windowed-mode complaint for fullscreen output";

  DeviceRig windowed;
  windowed.recording->options.caps = D3DCAPS8{};
  DeviceChoice choice;
  choice.windowed = true;
  windowed.Create(choice);
  EXPECT_EQ(CheckDeviceCaps(windowed.state),
            "[no active lights][no textures][no big textures][not all dest/src blendings][no windowed mode]"
            "[no alpha info in textures][no linear texture filtering][no blendop][no fogvertex][no fogtable]"
            "[no fogrange][no zfog]");

  DeviceRig noCaps;
  noCaps.recording->options.failGetDeviceCaps = true;
  noCaps.Create({});
  EXPECT_EQ(CheckDeviceCaps(noCaps.state), "");
  EXPECT_EQ(noCaps.fatalErrors, std::vector<std::string>{kNoCapsText});
}

TEST(DeviceSetup, WarningTextJoinsItsPartsWithoutSeparators) {
  EXPECT_EQ(CapsWarningText("[no zfog]"),
            "d3d8 caps check: [no zfog] supported!\r\rThis basically means that not all needed features are "
            "supported bythe chosen graphics board. You may continue, but keep in mind thatsome things (or even "
            "everything) looks fucked up. Yes, even more than intended :-)");
}

TEST(DeviceSetup, ShutdownReleasesInOrderAndOnlyOnce) {
  RecordingFixture f;
  std::string errorText;
  ASSERT_EQ(D3DXCreateSprite(f.state.device, &f.state.sprite), D3D_OK);
  f.state.R2tMaxSize = 256;
  BeginRenderToTexture(f.state, 0);
  ReleaseRenderObjects(f.state);
  const auto releases = f.recording->CallsStartingWith("Release");
  ASSERT_GE(releases.size(), 3u);
  EXPECT_EQ(releases[releases.size() - 1], "Release(d3d)");
  EXPECT_EQ(releases[releases.size() - 2], "Release(device)");
  const size_t calls = f.CallCount();
  ReleaseRenderObjects(f.state);
  EXPECT_EQ(f.CallCount(), calls);
}

// A start with no fatal-error sink would lose the faults of every later frame: both starts refuse it.
TEST(DeviceSetup, StartsRefuseARendererWithoutAFatalErrorSink) {
  DeviceRig rig;
  rig.state.callbacks.fatalError = nullptr;
  EXPECT_EQ(rig.Create(DeviceChoice{}), kNoFatalErrorSinkText);
  EXPECT_EQ(rig.state.device, nullptr);
  EXPECT_TRUE(rig.recording->CallsStartingWith("CreateDevice").empty());

  RenderState offscreen;
  EXPECT_EQ(StartOffscreenRenderer(offscreen, CreateNullDirect3D8(rig.recording), "no-data", 8, 64, 48),
            kNoFatalErrorSinkText);
  EXPECT_EQ(offscreen.device, nullptr);
  ReleaseRenderObjects(offscreen);
}

}  // namespace
