#include "ui/launcher_lists.h"

#include <gtest/gtest.h>

#include "support/fake_direct3d.h"

namespace {

using Texts = std::vector<std::string>;

constexpr D3DFORMAT k32 = D3DFMT_X8R8G8B8, k16 = D3DFMT_R5G6B5;

// A typical adapter: refresh-rate variants, modes too wide or too narrow, and other formats.
FakeAdapter TypicalAdapter(const std::string& description) {
  return {description,
          {{320, 240, 60, k16},
           {512, 384, 60, k32},
           {512, 384, 75, k32},
           {640, 480, 60, k16},
           {640, 480, 60, k32},
           {640, 480, 85, k32},
           {640, 480, 60, D3DFMT_R8G8B8},
           {640, 480, 60, D3DFMT_X1R5G5B5},
           {800, 600, 60, k32},
           {1024, 768, 60, k32},
           {640, 400, 70, k32}}};
}

LauncherLists Filled(IDirect3D8& d3d, uint32_t desktopWidthPx) {
  LauncherLists lists;
  FillLauncherLists(d3d, desktopWidthPx, lists);
  return lists;
}

}  // namespace

TEST(DevelopmentSwitch, OnlyTheFirstArgumentInAnyCase) {
  EXPECT_TRUE(IsDevelopmentSwitch({"-d"}));
  EXPECT_TRUE(IsDevelopmentSwitch({"-D", "data"}));
  EXPECT_FALSE(IsDevelopmentSwitch({}));
  EXPECT_FALSE(IsDevelopmentSwitch({"data", "-d"}));
  EXPECT_FALSE(IsDevelopmentSwitch({"-dd"}));
  EXPECT_FALSE(IsDevelopmentSwitch({"d"}));
}

TEST(AdapterList, OneAdapterIsSelectedAndDisabledSeveralStayEnabled) {
  FakeDirect3D one({TypicalAdapter("Mesa llvmpipe")});
  const LauncherLists single = Filled(one, 1024);
  EXPECT_EQ(single.AdapterBox.texts, Texts{"Mesa llvmpipe"});
  EXPECT_EQ(single.AdapterBox.selected, 0);
  EXPECT_FALSE(single.adapterBoxEnabled);

  FakeDirect3D two({TypicalAdapter("first"), {std::string(600, 'x'), {}}});  // second: unterminated, no modes
  LauncherLists lists = Filled(two, 1024);
  EXPECT_TRUE(lists.adapterBoxEnabled);
  ASSERT_EQ(lists.AdapterBox.texts.size(), 2u);
  EXPECT_EQ(lists.AdapterBox.texts[1], std::string(512, 'x'));

  // Picking the second adapter asks that adapter for its modes and chooses it for the device.
  lists.AdapterBox.selected = 1;
  FillDisplayModes(two, 1024, lists);
  EXPECT_EQ(two.modeCountAdapters, (std::vector<UINT>{0, 1}));
  EXPECT_TRUE(lists.DisplayBox.texts.empty());
  EXPECT_EQ(lists.DisplayBox.selected, -1);
  EXPECT_EQ(ChosenDevice(lists, true, nullptr).adapter, 1u);
}

TEST(FullscreenModes, OneEntryPerHeightAndFormatWithinTheWidthRange) {
  FakeDirect3D d3d({TypicalAdapter("a")});
  const LauncherLists lists = Filled(d3d, 1024);
  // 320x240 too narrow, 800x600 and wider never, 24-bit and 15-bit formats never, refresh variants once.
  EXPECT_EQ(lists.DisplayBox.texts, (Texts{"512x384, 32bit", "640x480, 16bit", "640x480, 32bit", "640x400, 32bit"}));
  ASSERT_EQ(lists.FullscreenModes.size(), 4u);
  EXPECT_EQ(lists.FullscreenModes[1].format, k16);
  // The later of the two 640x480 entries is preselected.
  EXPECT_EQ(lists.DisplayBox.selected, 2);
}

TEST(FullscreenModes, WidthIsNotComparedWhenDeduplicating) {
  // 600x480 is accepted first, so the later 640x480 of the same height and format is skipped.
  FakeDirect3D d3d({{"a", {{600, 480, 60, k32}, {640, 480, 60, k32}, {512, 384, 60, k16}}}});
  const LauncherLists lists = Filled(d3d, 1024);
  EXPECT_EQ(lists.DisplayBox.texts, (Texts{"600x480, 32bit", "512x384, 16bit"}));
  EXPECT_EQ(lists.DisplayBox.selected, 0);  // no 640x480: the first entry
}

TEST(WindowedSizes, FollowTheDesktopWidthAndSurviveAdapterChanges) {
  FakeDirect3D d3d({TypicalAdapter("a"), TypicalAdapter("b")});
  EXPECT_EQ(Filled(d3d, 639).DisplayBoxWindowed.texts, Texts{"320x240"});
  EXPECT_EQ(Filled(d3d, 800).DisplayBoxWindowed.texts, (Texts{"320x240", "512x384", "640x480"}));

  LauncherLists lists = Filled(d3d, 700);
  EXPECT_EQ(lists.DisplayBoxWindowed.texts, (Texts{"320x240", "512x384"}));
  EXPECT_EQ(lists.DisplayBoxWindowed.selected, 1);
  lists.DisplayBoxWindowed.selected = 0;
  for (int adapter : {1, 0}) {
    lists.AdapterBox.selected = adapter;
    FillDisplayModes(d3d, 1600, lists);  // a later desktop width changes nothing either
  }
  EXPECT_EQ(lists.DisplayBoxWindowed.texts, (Texts{"320x240", "512x384"}));
  ASSERT_EQ(lists.WindowedSizes.size(), 2u);
  EXPECT_EQ(lists.WindowedSizes[1].width, 512u);
  EXPECT_EQ(lists.DisplayBoxWindowed.selected, 0);
}

TEST(DeviceChoiceFromLists, FullscreenModeOrWindowSize) {
  FakeDirect3D d3d({TypicalAdapter("a")});
  LauncherLists lists = Filled(d3d, 1024);
  lists.DisplayBox.selected = 1;  // 640x480, 16bit
  lists.DisplayBoxWindowed.selected = 1;
  HWND window = reinterpret_cast<HWND>(&lists);

  const DeviceChoice fullscreen = ChosenDevice(lists, false, window);
  EXPECT_FALSE(fullscreen.windowed);
  EXPECT_EQ(fullscreen.adapter, 0u);
  EXPECT_EQ(fullscreen.widthPx, 640u);
  EXPECT_EQ(fullscreen.heightPx, 480u);
  EXPECT_EQ(fullscreen.fullscreenFormat, k16);
  EXPECT_EQ(fullscreen.window, window);

  const DeviceChoice windowed = ChosenDevice(lists, true, window);
  EXPECT_TRUE(windowed.windowed);
  EXPECT_EQ(windowed.widthPx, 512u);
  EXPECT_EQ(windowed.heightPx, 384u);
}

TEST(DeviceChoiceFromLists, NoFullscreenModeFallsBackToTheWindow) {
  FakeDirect3D d3d({{"only wide modes", {{800, 600, 60, k32}, {1024, 768, 60, k32}}}});
  const LauncherLists lists = Filled(d3d, 1024);
  EXPECT_TRUE(lists.DisplayBox.texts.empty());
  const DeviceChoice choice = ChosenDevice(lists, false, nullptr);
  EXPECT_TRUE(choice.windowed);
  EXPECT_EQ(choice.widthPx, 640u);
  EXPECT_EQ(choice.heightPx, 480u);
}

TEST(AdapterList, NoAdaptersLeavesEveryFullscreenListEmpty) {
  FakeDirect3D d3d({});
  const LauncherLists lists = Filled(d3d, 1024);
  EXPECT_TRUE(lists.AdapterBox.texts.empty());
  EXPECT_EQ(lists.AdapterBox.selected, -1);
  EXPECT_TRUE(d3d.modeCountAdapters.empty());
  EXPECT_TRUE(lists.DisplayBox.texts.empty());
  EXPECT_EQ(lists.DisplayBoxWindowed.texts.size(), 3u);
}
