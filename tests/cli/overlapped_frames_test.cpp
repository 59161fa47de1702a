// The export's writer thread: frames are written in the order they came, and a failed write stops the
// export at once.
#include "cli/overlapped_frames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

RgbaImage Picture(uint8_t value) {
  RgbaImage image;
  image.widthPx = image.heightPx = 1;
  image.rgba = {value, value, value, 255};
  return image;
}

TEST(FrameWriterThread, WritesEveryFrameInOrderBeforeFinishReturns) {
  std::vector<uint32_t> indices;
  std::vector<uint8_t> values;
  FrameWriterThread writer([&](uint32_t n, const RgbaImage& image) {
    indices.push_back(n);
    values.push_back(image.rgba[0]);
    return true;
  });
  for (uint32_t n = 0; n < 50; ++n) ASSERT_TRUE(writer.Push(n, Picture(uint8_t(n * 3))));
  ASSERT_TRUE(writer.Finish());
  ASSERT_EQ(indices.size(), 50u);
  for (uint32_t n = 0; n < 50; ++n) {
    EXPECT_EQ(indices[n], n);
    EXPECT_EQ(values[n], uint8_t(n * 3));
  }
}

TEST(FrameWriterThread, AFailedWriteRefusesEveryLaterFrame) {
  std::atomic<int> written{0};
  FrameWriterThread writer([&](uint32_t n, const RgbaImage&) {
    if (n == 3) return false;  // the encoder gave up
    ++written;
    return true;
  });
  uint32_t pushed = 0;
  while (pushed < 1000 && writer.Push(pushed, Picture(1))) ++pushed;
  EXPECT_LT(pushed, 1000u) << "the pushes stop";
  EXPECT_LE(pushed, 3u + 3u) << "at most the frames already queued behind the failed one";
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(written.load(), 3) << "nothing after the failed frame is written";
}

TEST(FrameWriterThread, DroppedWhileWritingEndsWithoutWritingTheRest) {
  std::atomic<int> written{0};
  {
    FrameWriterThread writer([&](uint32_t, const RgbaImage&) {
      ++written;
      return true;
    });
    for (uint32_t n = 0; n < 3; ++n) ASSERT_TRUE(writer.Push(n, Picture(1)));
  }  // no Finish: an export that stopped for another reason
  EXPECT_LE(written.load(), 3);
}

}  // namespace
