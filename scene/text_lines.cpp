#include "scene/text_lines.h"

#include <cmath>

#include "scene/decimal_text.h"
#include "scene/errors.h"
#include "scene/printable_text.h"
#include "scene/scene_messages.h"

namespace {
constexpr size_t kShownChars = 40;  // of a bad line, in its message
}  // namespace

std::string TextLines::FromFile(const std::string& path, std::optional<TextLines>& lines, int* errorCode,
                                uint64_t maxBytes) {
  lines.reset();
  std::string content;
  const std::string fault = ReadWholeFile(path, maxBytes, content, errorCode);
  if (fault.empty()) lines.emplace(path, std::move(content));
  return fault;
}

TextLines::TextLines(std::string path, std::string content) : path_(std::move(path)), content_(std::move(content)) {
  const size_t endOfFile = content_.find('\x1A');
  if (endOfFile != std::string::npos) content_.resize(endOfFile);
  byteOrderMark_ = content_.starts_with("\xEF\xBB\xBF");
  for (size_t at = content_.find('\n'); at != std::string::npos && !bareLineFeeds_; at = content_.find('\n', at + 1))
    bareLineFeeds_ = at == 0 || content_[at - 1] != '\r';
}

std::string_view TextLines::Next() {
  ++lineNumber_;
  if (AtEnd()) return {};
  const size_t end = content_.find('\r', position_);
  const size_t lineEnd = end == std::string::npos ? content_.size() : end;
  std::string_view line(content_.data() + position_, lineEnd - position_);
  position_ = lineEnd;
  if (position_ < content_.size()) ++position_;  // the CR
  if (end != std::string::npos && position_ < content_.size() && content_[position_] == '\n') ++position_;
  return line;
}

void TextLines::SkipComments(const std::function<void(std::string_view line)>& eachComment) {
  for (;;) {
    const size_t position = position_;
    const int lineNumber = lineNumber_;
    const bool atEnd = AtEnd();
    const std::string_view line = atEnd ? std::string_view() : Next();
    if (atEnd || line.substr(0, 2) != "//") {
      position_ = position;
      lineNumber_ = lineNumber;
      return;
    }
    if (eachComment) eachComment(line);
  }
}

std::string TextLines::LinePrefix(const std::string& path, int lineNumber) {
  return path + ":" + std::to_string(lineNumber) + ": ";
}

namespace {
// text with its commas written as points.
std::string CommasAsPoints(std::string_view text) {
  std::string swapped(text);
  for (char& c : swapped)
    if (c == ',') c = '.';
  return swapped;
}
}  // namespace

// A file saved with bare LF line ends reads as one long line; the message tells the author why.
std::string TextLines::NotANumber(std::string_view text, bool atEnd) const {
  std::string message =
      Where() + (atEnd ? std::string(kMsgFileEndsEarly) : "'" + QuotedText(text, kShownChars) + "'" + kMsgNotANumber);
  if (bareLineFeeds_) message += kMsgBareLineFeeds;
  if (atEnd) return message;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") message += kMsgByteOrderMark;
  else if (byteOrderMark_) message += kMsgFileByteOrderMark;
  else if (text.find(',') != std::string_view::npos && ParseReal(CommasAsPoints(text))) message += kMsgCommaSeparator;
  return message;
}

int64_t TextLines::NextInteger(int64_t minimum, int64_t maximum) {
  const bool atEnd = AtEnd();
  const std::string_view text = Next();
  const std::optional<int32_t> value = atEnd ? std::nullopt : ParseInteger(text);
  if (!value) throw ConversionError(NotANumber(text, atEnd));
  if (*value < minimum || *value > maximum)
    throw RangeError(Where() + std::to_string(*value) + kMsgOutOfRange + std::to_string(minimum) + ".." +
                     std::to_string(maximum));
  return *value;
}

float TextLines::NextFloat() {
  const bool atEnd = AtEnd();
  const std::string_view text = Next();
  const std::optional<double> value = atEnd ? std::nullopt : ParseReal(text);
  if (!value) throw ConversionError(NotANumber(text, atEnd));
  // The shortest text of FLT_MAX ("3.4028235e+38") lies a little above it and still rounds to it.
  if (!std::isfinite(static_cast<float>(*value)))
    throw RangeError(Where() + QuotedText(text, kShownChars) + kMsgOutOfFloatRange);
  return static_cast<float>(*value);
}

std::vector<std::string_view> BlankSeparatedFields(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && blank(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !blank(text[i])) ++i;
    if (i > start) fields.push_back(text.substr(start, i - start));
  }
  return fields;
}
