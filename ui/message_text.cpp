#include "ui/message_text.h"

#include <string_view>

#include "scene/printable_text.h"

namespace {

// Appends line to out, broken into pieces of at most maxLineChars.
void AppendWrapped(std::string_view line, size_t maxLineChars, std::string& out) {
  while (line.size() > maxLineChars) {
    // A blank right after the limit still ends a full piece (and is dropped); a "/" stays on its piece.
    const size_t blank = line.substr(0, maxLineChars + 1).find_last_of(' ');
    const size_t slash = line.substr(0, maxLineChars).find_last_of('/');
    size_t pieceEnd = maxLineChars, restStart = maxLineChars;
    if (blank != std::string_view::npos && blank > 0 && (slash == std::string_view::npos || blank > slash)) {
      pieceEnd = blank;
      restStart = blank + 1;
    } else if (slash != std::string_view::npos) {
      pieceEnd = restStart = slash + 1;
    }
    out.append(line.substr(0, pieceEnd)).push_back('\n');
    line.remove_prefix(restStart);
  }
  out.append(line);
}

}  // namespace

std::string MessageBoxText(const std::string& message, size_t maxLineChars) {
  const std::string text = PrintableMessage(message);
  std::string out;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find_first_of("\r\n", start);
    AppendWrapped(std::string_view(text).substr(start, end - start), maxLineChars, out);
    if (end == std::string::npos) return out;
    out.push_back('\n');
    start = end + 1;
  }
}

std::string MessageBoxLogLine(const std::string& title, const std::string& text) {
  std::string line = "quarnel: " + title + ": " + text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  return PrintableMessage(line);
}
