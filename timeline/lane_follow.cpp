#include "timeline/lane_follow.h"

#include <algorithm>
#include "scene/decimal_text.h"
#include "timeline/lane_editing.h"

namespace {

ParamFollow* FollowIn(TSceneSeqEntry& entry, int param) {
  const auto found = std::find_if(entry.Follows.begin(), entry.Follows.end(),
                                  [param](const ParamFollow& follow) { return follow.Param == param; });
  return found == entry.Follows.end() ? nullptr : &*found;
}

}  // namespace

const ParamFollow* FollowOf(const TimelineForm& form, int param) {
  const TSceneSeqEntry* entry = OpenEntry(form);
  return entry ? FollowIn(const_cast<TSceneSeqEntry&>(*entry), param) : nullptr;
}

void SetLaneFollow(TimelineForm& form, int lane, std::optional<SoundSource> source) {
  TSceneSeqEntry* entry = OpenEntry(form);
  if (!entry || lane < 0 || lane >= static_cast<int>(entry->Tracks.size())) return;
  const uint8_t param = entry->Tracks[lane].Param;
  ParamFollows follows = entry->Follows;
  if (!source) {
    std::erase_if(follows, [param](const ParamFollow& follow) { return follow.Param == param; });
  } else if (ParamFollow* follow = FollowIn(*entry, param)) {
    follows[follow - entry->Follows.data()].Source = *source;
  } else {
    ParamFollow added;
    added.Param = param;
    added.Source = *source;
    follows.insert(std::upper_bound(follows.begin(), follows.end(), param,
                                    [](uint8_t p, const ParamFollow& follow) { return p < follow.Param; }),
                   added);
  }
  if (follows == entry->Follows) return;
  RecordTimelineChange(form, [&] { entry->Follows = std::move(follows); });
}

int SelectedFollowParam(const TimelineForm& form) {
  const std::vector<KeyRef>& keys = form.keys.keys;
  if (keys.empty() || keys.front().param != keys.back().param) return -1;  // in KeyRef order: one lane
  return FollowOf(form, keys.front().param) ? keys.front().param : -1;
}

std::string SelectedFollowText(const TimelineForm& form, TimelineField field) {
  const ParamFollow* follow = FollowOf(form, SelectedFollowParam(form));
  if (!follow) return "";
  return FormatShortest(field == TimelineField::FollowGain ? follow->Gain : follow->Offset);
}

void SetSelectedFollowNumber(TimelineForm& form, TimelineField field, float value) {
  TSceneSeqEntry* entry = OpenEntry(form);
  const int param = SelectedFollowParam(form);
  ParamFollow* follow = entry && param >= 0 ? FollowIn(*entry, param) : nullptr;
  if (!follow) return;
  (field == TimelineField::FollowGain ? follow->Gain : follow->Offset) = value;
}
