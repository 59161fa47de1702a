#pragma once
// How the data-file loaders report what they find while they go on reading. The program shows the
// texts in message boxes; `quarnel --check` prints them with their place. Every sink a loader uses is
// required (LoadSceneSequence uses FatalError and Notice, LoadScenePresets all three).
#include <functional>
#include <string>

struct LoadReports {
  // A fault that will end the program once loading is over; `text` is the message exactly as shown,
  // `where` names the file and line ("data/sceneseq.txt:5").
  std::function<void(const std::string& where, const std::string& text)> FatalError;
  // Something skipped that the author should know about (files or entries beyond 255).
  std::function<void(const std::string& where, const std::string& text)> Notice;
  // A preset file that breaks its format (the reader's ConversionError or RangeError text, with file and
  // line). The loader goes on with the next file (the preset keeps the values read so far); a caller
  // that stops at the first such file (the program's start) ignores what the sinks hear after it.
  std::function<void(const std::string& text)> ReadError;
};
