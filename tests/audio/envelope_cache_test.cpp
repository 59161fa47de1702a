// The envelopes kept between runs: a good cache file is used, anything else is computed and written anew.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "audio/envelope_cache.h"
#include "audio/music_messages.h"
#include "tests/audio/sound_files.h"
#include "tests/support/temp_dir.h"

namespace {

class EnvelopeCache : public ::testing::Test {
 protected:
  void SetUp() override {
    mp3 = MakeMp3(dir.Path(), "beep", "1 sine 700 vol 0.5 fade 0.05 1 0.05").string();
    ASSERT_FALSE(mp3.empty());
    content = ContentOf(ReadFile(mp3));
  }

  // The only file in the cache folder.
  std::string CacheFile() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(cache)) files.push_back(entry.path());
    EXPECT_EQ(files.size(), 1u);
    return files.empty() ? "" : files.front().string();
  }

  // Steps as long as the beep's, every value `value`.
  EnvelopeSteps Planted(float value) const {
    EnvelopeSteps steps;
    steps.msCount = 1000;
    for (auto& source : steps.steps) source.assign(101, value);
    return steps;
  }

  TempDir dir;
  std::string cache = dir / "cache";
  std::string mp3;
  Mp3Content content;
  std::string fault;
};

TEST_F(EnvelopeCache, ComputesOnceAndThenReadsTheFileBack) {
  SoundEnvelopes first, second;
  ASSERT_EQ(CachedEnvelopes(mp3, cache, first, fault), "");
  EXPECT_EQ(fault, "");
  EXPECT_EQ(first.levels[size_t(SoundSource::Mid)].size(), 1000u);
  const std::string file = CacheFile();
  EXPECT_NE(file.find(std::to_string(content.bytes)), std::string::npos) << file;

  ASSERT_EQ(CachedEnvelopes(mp3, cache, second, fault), "");
  EXPECT_EQ(second, first);
  EnvelopeSteps analysed;
  ASSERT_EQ(AnalyseMp3(mp3, analysed), "");
  EXPECT_EQ(EnvelopesPerMs(analysed), first) << "cached or not, the very same values";

  // A good file is trusted: planted values come back.
  WriteFile(file, EnvelopeCacheBytes(content, Planted(0.25f)));
  ASSERT_EQ(CachedEnvelopes(mp3, cache, second, fault), "");
  EXPECT_EQ(second, EnvelopesPerMs(Planted(0.25f)));
}

TEST_F(EnvelopeCache, AFileThatIsNotWholeOrNotForThisMp3IsNeverTrusted) {
  const std::string good = EnvelopeCacheBytes(content, Planted(0.25f));
  ASSERT_EQ(EnvelopesFromCache(good, content), Planted(0.25f));

  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x10;
  std::string otherVersion = good;
  otherVersion[otherVersion.find('\n') - 1] += 1;
  const std::string damaged[] = {
      good.substr(0, good.size() - 1),
      good + "x",
      flipped,
      otherVersion,
      "",
      "quarnel envelopes",
      EnvelopeCacheBytes(content, Planted(1.5f)),
      EnvelopeCacheBytes(content, Planted(-0.0001f)),
      EnvelopeCacheBytes(content, Planted(std::nanf(""))),
  };
  for (const std::string& bytes : damaged) EXPECT_FALSE(EnvelopesFromCache(bytes, content)) << bytes.size();
  EXPECT_FALSE(EnvelopesFromCache(good, {content.bytes, content.hash + 1}));
  EXPECT_FALSE(EnvelopesFromCache(good, {content.bytes + 1, content.hash}));

  // Planted in the cache, a damaged file is replaced by the analysis.
  SoundEnvelopes envelopes;
  ASSERT_EQ(CachedEnvelopes(mp3, cache, envelopes, fault), "");
  const SoundEnvelopes analysed = envelopes;
  const std::string file = CacheFile();
  for (const std::string& bytes : damaged) {
    WriteFile(file, bytes);
    ASSERT_EQ(CachedEnvelopes(mp3, cache, envelopes, fault), "");
    EXPECT_EQ(envelopes, analysed);
    EXPECT_TRUE(EnvelopesFromCache(ReadFile(file), content)) << "written again";
  }
}

TEST_F(EnvelopeCache, AChangedMp3IsAnalysedAgain) {
  SoundEnvelopes before, after;
  ASSERT_EQ(CachedEnvelopes(mp3, cache, before, fault), "");
  std::filesystem::rename(MakeMp3(dir.Path(), "low", "1 sine 80 vol 0.5 fade 0.05 1 0.05"), mp3);
  ASSERT_EQ(CachedEnvelopes(mp3, cache, after, fault), "");
  EXPECT_NE(after, before);
  EXPECT_GT(EnvelopeAt(after, SoundSource::Low, 500), 0.5f);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cache), {}), 2) << "one file per content";
}

TEST_F(EnvelopeCache, WithoutACacheTheEnvelopesAreStillThereAndTheReasonIsSaid) {
  SoundEnvelopes envelopes;
  ASSERT_EQ(CachedEnvelopes(mp3, "", envelopes, fault), "");
  EXPECT_EQ(fault, "") << "no cache asked for";
  EXPECT_GT(EnvelopeAt(envelopes, SoundSource::Mid, 500), 0.5f);

  WriteFile(cache, "a file where the folder belongs");
  ASSERT_EQ(CachedEnvelopes(mp3, cache, envelopes, fault), "");
  EXPECT_GT(EnvelopeAt(envelopes, SoundSource::Mid, 500), 0.5f);
  EXPECT_EQ(fault.rfind(kEnvelopeCacheNotWritten, 0), 0u) << fault;
  EXPECT_NE(fault.find(cache), std::string::npos) << fault;

  EXPECT_NE(CachedEnvelopes(dir / "missing.mp3", "", envelopes, fault), "");
  EXPECT_EQ(envelopes, SoundEnvelopes{});
  WriteFile(dir / "text.mp3", "not music");
  EXPECT_EQ(CachedEnvelopes(dir / "text.mp3", cache, envelopes, fault), kMp3NotDecodableText);
}

TEST(EnvelopeCacheFolder, FollowsXdgCacheHomeThenHome) {
  const std::string savedXdg = std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : "";
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_CACHE_HOME", "/x/cache", 1);
  setenv("HOME", "/home/h", 1);
  EXPECT_EQ(EnvelopeCacheFolder(), "/x/cache/quarnel");
  setenv("XDG_CACHE_HOME", "relative", 1);
  EXPECT_EQ(EnvelopeCacheFolder(), "/home/h/.cache/quarnel");
  unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(EnvelopeCacheFolder(), "/home/h/.cache/quarnel");
  unsetenv("HOME");
  EXPECT_EQ(EnvelopeCacheFolder(), "");
  if (!savedXdg.empty()) setenv("XDG_CACHE_HOME", savedXdg.c_str(), 1);
  if (!savedHome.empty()) setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
