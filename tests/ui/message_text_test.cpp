#include "ui/message_text.h"

#include <gtest/gtest.h>

TEST(MessageBoxText, CarriageReturnsBreakLines) {
  EXPECT_EQ(MessageBoxText("caps: [no fogtable] supported!\r\rThis basically"),
            "caps: [no fogtable] supported!\n\nThis basically");
}

TEST(MessageBoxText, LongLinesBreakAtBlanksAndSlashes) {
  EXPECT_EQ(MessageBoxText("short line", 20), "short line");
  EXPECT_EQ(MessageBoxText("one two three four five", 10), "one two\nthree four\nfive");
  EXPECT_EQ(MessageBoxText("/home/author/demo/data/scene3.txt:17: bad", 20),
            "/home/author/demo/\ndata/scene3.txt:17:\nbad");
  EXPECT_EQ(MessageBoxText("abcdefghijklmnop", 6), "abcdef\nghijkl\nmnop");
}

TEST(MessageBoxText, UnprintableBytesAreShownAsEscapes) {
  EXPECT_EQ(MessageBoxText(std::string("name:\x1b[31mred\0cut\r\x9b", 19)), "name:\\x1b[31mred\\0cut\n\\x9b");
}

TEST(MessageBoxLogLine, IsOneLineWithUnprintableBytesEscaped) {
  EXPECT_EQ(MessageBoxLogLine("title", std::string("a\rb\nc\x1b[2J\0d", 11)), "quarnel: title: a b c\\x1b[2J\\0d");
}
