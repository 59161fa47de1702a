#pragma once
// Line-by-line reading of the data files. A line ends at CR and an LF right after the CR is skipped; a
// bare LF stays part of the line's text; the character 26 (Ctrl-Z) ends the file. Files written by the
// program end every line with CR LF.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/file_read.h"

class TextLines {
 public:
  // Reads the whole file with ReadWholeFile (at most maxBytes) into lines. Returns "" on success;
  // ReadWholeFile's "path: reason" (lines empty, the errno in *errorCode when it is given) when it is no
  // readable regular file of that size.
  [[nodiscard]] static std::string FromFile(const std::string& path, std::optional<TextLines>& lines,
                                            int* errorCode = nullptr, uint64_t maxBytes = kMaxTextFileBytes);
  TextLines(std::string path, std::string content);

  bool AtEnd() const { return position_ >= content_.size(); }
  // The next line without its end; an empty view at the end of the file.
  std::string_view Next();
  // Skips the lines that begin with "//", handing each to eachComment (when given; LineNumber() is its
  // number meanwhile); the next Next() returns the first other line.
  void SkipComments(const std::function<void(std::string_view line)>& eachComment = nullptr);
  // 1-based number of the line Next() returned last; 0 before the first.
  int LineNumber() const { return lineNumber_; }
  const std::string& Path() const { return path_; }

  // The conventional message prefix "path:line: " for the line read last.
  std::string Where() const { return LinePrefix(path_, lineNumber_); }
  // The same prefix for any line of a file.
  static std::string LinePrefix(const std::string& path, int lineNumber);

  // Readers of numbers: raise ConversionError for text that is no number (or a missing line at the end
  // of the file) and RangeError for a number outside [minimum, maximum].
  int64_t NextInteger(int64_t minimum, int64_t maximum);
  float NextFloat();

 private:
  std::string NotANumber(std::string_view text, bool atEnd) const;

  std::string path_;
  std::string content_;
  bool bareLineFeeds_ = false;  // an LF without a CR before it: the file was saved with the wrong line ends
  bool byteOrderMark_ = false;  // the file starts with a UTF-8 byte order mark, which hides a first comment line
  size_t position_ = 0;
  int lineNumber_ = 0;
};

// The fields of a line: the runs of characters between blanks (spaces and tabs).
std::vector<std::string_view> BlankSeparatedFields(std::string_view text);
