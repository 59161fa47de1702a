// Putting keys into a track: the index SetKey returns is the key's place, also when the track grows.
#include <gtest/gtest.h>

#include "scene/automation.h"

TEST(KeyInsert, TheReturnedIndexIsTheNewKeysPlaceWhileTheTrackGrows) {
  AutomationTrack track{0, {}};
  for (uint32_t timeMs : {500u, 100u, 900u, 300u, 700u, 0u, 1000u, 200u, 800u}) {
    const size_t index = SetKey(track, timeMs, float(timeMs) / 10);
    ASSERT_LT(index, track.Keys.size()) << timeMs;
    EXPECT_EQ(track.Keys[index].TimeMs, timeMs);
  }
  const size_t again = SetKey(track, 300, 1);  // a key at that time: its value, no new key
  EXPECT_EQ(track.Keys.size(), 9u);
  EXPECT_EQ(track.Keys[again].Value, 1);
}
