#include "scene/follow_reader.h"

#include <algorithm>
#include <cmath>

#include "scene/errors.h"
#include "scene/scene_messages.h"

void FollowLineReader::Take(std::string_view line, const TextLines& lines) {
  path_ = lines.Path();
  Read read{lines.LineNumber(), {}};
  if (const std::string fault = ParseFollowLine(line, read.line); !fault.empty())
    throw ConversionError(lines.Where() + fault);
  follows_.push_back(read);
}

void FollowLineReader::PutInto(std::vector<TSceneSeqEntry>& entries) const {
  std::vector<ParamFollows> follows(entries.size());
  for (const Read& read : follows_) {
    const std::string where = TextLines::LinePrefix(path_, read.lineNumber);
    const size_t entry = read.line.Entry;
    if (entry >= entries.size())
      throw RangeError(where + std::to_string(entry) + kMsgFollowNoSuchEntry + std::to_string(entries.size()) +
                       kMsgFollowEntriesEnd);
    ParamFollows& ofEntry = follows[entry];
    const ParamFollow& follow = read.line.Follow;
    const auto place = std::lower_bound(ofEntry.begin(), ofEntry.end(), follow.Param,
                                        [](const ParamFollow& f, uint8_t param) { return f.Param < param; });
    if (place != ofEntry.end() && place->Param == follow.Param)
      throw RangeError(where + kMsgFollowSecond + std::to_string(follow.Param) + kMsgFollowOfEntry +
                       std::to_string(entry));
    ofEntry.insert(place, follow);
  }
  for (size_t k = 0; k < entries.size(); ++k) entries[k].Follows = std::move(follows[k]);
}

std::string FollowsFault(const ParamFollows& follows) {
  for (size_t i = 0; i < follows.size(); ++i) {
    const ParamFollow& follow = follows[i];
    if (follow.Param >= kParamCount || (i > 0 && follows[i - 1].Param >= follow.Param)) return kMsgFollowsOutOfOrder;
    if (!std::isfinite(follow.Gain) || !std::isfinite(follow.Offset) || int(follow.Source) >= kSoundSourceCount)
      return kMsgFollowsBadNumbers;
  }
  return {};
}
