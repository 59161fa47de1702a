#pragma once
// The follow lines of one sequence file (scene/follow_line.h): taken while its header is read, put into
// the entries' follows once the entries are read. Both steps raise ConversionError (a line that does not
// parse) or RangeError (an entry the file does not hold, a second follow of one parameter of an entry),
// naming the file and the line.
#include <string>
#include <string_view>
#include <vector>

#include "scene/follow_line.h"
#include "scene/sequence.h"
#include "scene/text_lines.h"

class FollowLineReader {
 public:
  // Reads the follow line the lines returned last.
  void Take(std::string_view line, const TextLines& lines);
  // Gives every entry its follows, all of them or (when a line fails) none.
  void PutInto(std::vector<TSceneSeqEntry>& entries) const;

 private:
  struct Read {
    int lineNumber;
    FollowLine line;
  };
  std::string path_;
  std::vector<Read> follows_;
};

// Why follows break the rules a sequence file holds them to (ascending Param 0..76, one per parameter,
// finite gain and offset); empty when they keep them.
[[nodiscard]] std::string FollowsFault(const ParamFollows& follows);
