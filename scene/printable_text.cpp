#include "scene/printable_text.h"

#include <cstdint>
#include <cstdio>

namespace {

// The length of the UTF-8 letter at the start of text, 0 when it is no valid letter or a C1 control
// (U+0080..U+009F, which terminals obey like the escape byte).
size_t Utf8LetterBytes(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(0);
  const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || text.size() < length) return 0;
  uint32_t codePoint = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (byte(i) & 0x3F);
  }
  const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
  const bool invalid = (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF;
  if (overlong || invalid || codePoint <= 0x9F) return 0;
  return length;
}

std::string EscapeOf(uint8_t c) {
  switch (c) {
    case 0: return "\\0";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
  }
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02x", c);
  return escape;
}

std::string Escaped(std::string_view text, size_t maxChars, bool keepLineBreaks) {
  std::string out;
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++chars) {
    if (chars == maxChars) return out + "...";
    const uint8_t c = static_cast<uint8_t>(text[i]);
    const size_t letterBytes = c >= 0x80 ? Utf8LetterBytes(text.substr(i)) : 0;
    if ((c >= 0x20 && c < 0x7F) || (keepLineBreaks && (c == '\r' || c == '\n'))) {
      out += char(c);
      ++i;
    } else if (letterBytes > 0) {
      out.append(text.substr(i, letterBytes));
      i += letterBytes;
    } else {
      out += EscapeOf(c);
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string QuotedText(std::string_view text, size_t maxChars) { return Escaped(text, maxChars, false); }

std::string PrintableMessage(std::string_view text) { return Escaped(text, std::string_view::npos, true); }
