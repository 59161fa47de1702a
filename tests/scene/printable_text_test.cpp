#include "scene/printable_text.h"

#include <gtest/gtest.h>

TEST(QuotedText, EscapesWhatWouldActOnATerminalOrCutAMessage) {
  EXPECT_EQ(QuotedText(std::string("a\x1b[2J\0b\tc\r\n\x7f", 12), 40), "a\\x1b[2J\\0b\\tc\\r\\n\\x7f");
  // Bytes that are no UTF-8, and the C1 control U+009B written in UTF-8, which terminals obey too.
  EXPECT_EQ(QuotedText("\xff\xc3(\xc2\x9b", 40), "\\xff\\xc3(\\xc2\\x9b");
  // Letters in UTF-8 stay.
  EXPECT_EQ(QuotedText("Größe 5€ 😀", 40), "Größe 5€ 😀");
}

TEST(QuotedText, CutsLongTextsAfterMaxChars) {
  EXPECT_EQ(QuotedText("abcdef", 6), "abcdef");
  EXPECT_EQ(QuotedText("abcdefg", 6), "abcdef...");
  EXPECT_EQ(QuotedText("\x01\x02\x03\x04", 2), "\\x01\\x02...");
  EXPECT_EQ(QuotedText("äöüß", 2), "äö...");
}

TEST(PrintableMessage, KeepsItsLineBreaksAndEscapesTheRest) {
  EXPECT_EQ(PrintableMessage(std::string("file:3: '\x1b'\r\nnext\0", 18)), "file:3: '\\x1b'\r\nnext\\0");
  EXPECT_EQ(PrintableMessage("already \\x1b escaped"), "already \\x1b escaped");
  EXPECT_EQ(PrintableMessage(std::string(500, 'a')), std::string(500, 'a'));
}
