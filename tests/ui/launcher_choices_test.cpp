// The launcher's choices kept between runs: where, the file, and what of it a changed machine still uses.
#include "ui/launcher_choices.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace {

LauncherLists TwoAdapters() {
  LauncherLists lists;
  lists.AdapterBox = {{"llvmpipe", "radeon"}, 0};
  lists.DisplayBox = {{"512x384, 32bit", "640x480, 16bit", "640x480, 32bit"}, 2};
  lists.DisplayBoxWindowed = {{"320x240", "512x384", "640x480"}, 2};
  return lists;
}

// Restores an environment variable at the end of the test.
class KeptVariable {
 public:
  explicit KeptVariable(const char* name) : name_(name), was_(std::getenv(name) != nullptr) {
    if (was_) value_ = std::getenv(name);
  }
  ~KeptVariable() { was_ ? setenv(name_, value_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool was_;
  std::string value_;
};

TEST(LauncherChoices, LiveUnderXdgConfigHomeOrHomeDotConfig) {
  const KeptVariable config("XDG_CONFIG_HOME"), home("HOME");
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(LauncherChoicesPath(), "/tmp/cfg/quarnel/launcher.txt");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("HOME", "/home/me", 1);
  EXPECT_EQ(LauncherChoicesPath(), "/home/me/.config/quarnel/launcher.txt") << "a relative XDG_CONFIG_HOME is ignored";
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(LauncherChoicesPath(), "/home/me/.config/quarnel/launcher.txt");
}

TEST(LauncherChoices, RoundTripThroughTheFileIntoTheLists) {
  TempDir dir;
  const std::string path = dir / "config/quarnel/launcher.txt";
  LauncherLists shown = TwoAdapters();
  shown.AdapterBox.selected = 1;
  shown.DisplayBox.selected = 1;
  shown.DisplayBoxWindowed.selected = 0;
  ASSERT_EQ(WriteLauncherChoices(path, ChoicesShown(shown, true, {false, true, true})), "") << "its folder is made";

  const LauncherChoices kept = ReadLauncherChoices(path);
  EXPECT_TRUE(kept.windowed);
  EXPECT_FALSE(kept.switches.music);
  EXPECT_TRUE(kept.switches.loop);
  EXPECT_TRUE(kept.switches.stats);
  LauncherLists next = TwoAdapters();
  EXPECT_TRUE(SelectChosenAdapter(kept, next)) << "the modes of the other adapter are filled anew";
  SelectChosenModes(kept, next);
  EXPECT_EQ(next.AdapterBox.selected, 1);
  EXPECT_EQ(next.DisplayBox.selected, 1);
  EXPECT_EQ(next.DisplayBoxWindowed.selected, 0);
  EXPECT_FALSE(SelectChosenAdapter(kept, next)) << "already selected";
}

// A machine whose lists changed keeps what it still offers; a missing or damaged file gives the defaults.
TEST(LauncherChoices, WhatTheListsNoLongerHoldAndBadFilesLeaveTheDefaults) {
  TempDir dir;
  WriteFile(dir / "launcher.txt", "adapter=gone\nwindow_size=640x480\ndisplay_mode=800x600, 32bit\nmusic\n\x01=2\n");
  const LauncherChoices kept = ReadLauncherChoices(dir / "launcher.txt");
  LauncherLists lists = TwoAdapters();
  lists.DisplayBoxWindowed.selected = 1;
  EXPECT_FALSE(SelectChosenAdapter(kept, lists));
  SelectChosenModes(kept, lists);
  EXPECT_EQ(lists.AdapterBox.selected, 0);
  EXPECT_EQ(lists.DisplayBox.selected, 2);
  EXPECT_EQ(lists.DisplayBoxWindowed.selected, 2);
  EXPECT_TRUE(kept.switches.music) << "a line without a value changes nothing";

  const LauncherChoices none = ReadLauncherChoices(dir / "missing.txt");
  EXPECT_FALSE(none.windowed);
  EXPECT_TRUE(none.switches.music);
  EXPECT_FALSE(none.switches.loop);
  EXPECT_NE(WriteLauncherChoices(dir / "launcher.txt/x", ChoicesShown(lists, false, {})), "")
      << "a folder that cannot be made is a fault, not a crash";
}

}  // namespace
