// Whatever the file's rate and channels, the decoder gives 44.1 kHz stereo with the same sound in it.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/mp3_decoder.h"
#include "tests/audio/sound_files.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(Mp3Decoder, ResamplesAndDoublesA48kHzMonoFile) {
  TempDir dir;
  std::filesystem::path mono = MakeMp3(dir.Path(), "mono48k", "0.5 sine 440 vol 0.5", 48000, 1);
  ASSERT_FALSE(mono.empty());

  Mp3Decoder decoder;
  ASSERT_EQ(OpenMp3(decoder, mono.string()), "");
  uint64_t firstFrames = DecodeMp3Frames(decoder, 1000);
  EXPECT_EQ(firstFrames, decoder.samples.size() / 2);
  EXPECT_GE(firstFrames, 1000u);
  uint64_t frames = DecodeMp3Frames(decoder, 1000000);
  EXPECT_NEAR(double(frames), 22050.0, 10.0);  // 0.5 s at 44.1 kHz
  EXPECT_EQ(DecodeMp3Frames(decoder, 1000000), frames) << "nothing after the end";

  bool sameOnBothSides = true;
  for (size_t f = 0; f < frames; ++f) sameOnBothSides &= decoder.samples[2 * f] == decoder.samples[2 * f + 1];
  EXPECT_TRUE(sameOnBothSides);
  EXPECT_NEAR(LeftFrequencyHz(decoder.samples, 1000, 20000), 440.0, 3.0);
  EXPECT_NEAR(LeftRms(decoder.samples, 1000, 20000), 0.5 * 32767 / std::sqrt(2.0), 600.0);

  CloseMp3(decoder);
  EXPECT_TRUE(decoder.samples.empty());
  EXPECT_EQ(DecodeMp3Frames(decoder, 10), 0u) << "closed";
}

}  // namespace
