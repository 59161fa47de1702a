#pragma once
// The key lines of the sequence file's header, one automation key (scene/automation.h) each:
//   // key ENTRY PARAM MS VALUE CURVE
// ENTRY is the entry's 0-based index in file order, PARAM the parameter index 0..76, MS the key's time in
// ms from the entry's start (0..2147483647), VALUE the key's value written with '.' (within the
// parameter's ParamKeyRange) and CURVE the name of the curve towards the next key. A reader that does not
// know them passes over them as comments.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "scene/sequence.h"
#include "scene/text_lines.h"

// Whether a header comment line is a key line: it begins with "// key " (or is "// key").
bool IsKeyLine(std::string_view line);

// The key line of a key of parameter `param` of entry `entry`; VALUE in its shortest exact form.
std::string KeyLineText(size_t entry, int param, const AutomationKey& key);

// The key lines of one file: taken while its header is read, put into the entries' tracks once the
// entries are read. Both steps raise ConversionError (a field that is no number or no curve, a wrong
// number of fields) or RangeError (a field outside its range, a key before the previous one of its
// track), naming the file and the line.
class KeyLineReader {
 public:
  // Reads the key line the lines returned last.
  void Take(std::string_view line, const TextLines& lines);
  // Gives every entry its tracks, all of them or (when a line fails) none.
  void PutInto(std::vector<TSceneSeqEntry>& entries) const;

 private:
  struct Read {
    int lineNumber;
    uint32_t entry;
    int param;
    AutomationKey key;
  };
  std::string path_;
  std::vector<Read> keys_;
};
